#pragma once

// Asks the desktop shell to open a web address in the user's browser. The shell's
// answer is discarded: a page that cannot be opened changes nothing in the program.
void openWebAddress(const char* address);

// The handlers of the three web-link buttons.
void openMoreToolsPage();  // 按钮2 "更多辅助工具"
void openForumPage();      // 按钮3 "官方论坛"
void openGuidesPage();     // 按钮4 "游戏攻略"
