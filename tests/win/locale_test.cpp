// The real program on a system whose code page is not Chinese. Wine takes a process's
// ANSI code page from its Linux locale; the test platform's is zh_CN (936). The program
// is started with LANG and LC_ALL set to C.UTF-8 instead, and a probe started the same
// way reports the code page such a process gets. Every text must still read back as the
// right Chinese characters in UTF-16.
#include "tests/win/support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

constexpr DWORD kTimeout = 20000;
const LaunchedFromLinux::Changes kNonChinese{{L"LANG", L"C.UTF-8"}, {L"LC_ALL", L"C.UTF-8"}};

// The ANSI code page of a process started with these changes; 0 when the probe says nothing.
unsigned codePageOf(const LaunchedFromLinux::Changes& changes) {
    std::wostringstream name;
    name << L"Z:\\tmp\\vantor-code-page-" << GetCurrentProcessId() << L"-" << GetTickCount() << L".txt";
    const std::wstring out = name.str();
    DeleteFileW(out.c_str());
    LaunchedFromLinux probe(CODE_PAGE_PROBE_PATH, changes, L"\"" + out + L"\"");
    if (!probe.started()) return 0;
    unsigned codePage = 0;
    for (DWORD start = GetTickCount(); codePage == 0 && GetTickCount() - start < kTimeout; Sleep(50)) {
        std::ifstream file(out.c_str());
        file >> codePage;
    }
    DeleteFileW(out.c_str());
    return codePage;
}

TEST(Locale, AProcessStartedOutsideChineseGetsAnotherCodePage) {
    EXPECT_EQ(codePageOf({}), 936u) << "the test platform's own locale";
    const unsigned other = codePageOf(kNonChinese);
    EXPECT_NE(other, 0u) << "the probe did not answer";
    EXPECT_NE(other, 936u);
    RecordProperty("code_page", static_cast<int>(other));
}

TEST(Locale, TextsStayChineseUnderAnotherCodePage) {
    ASSERT_NE(codePageOf(kNonChinese), 936u) << "the code page would not differ";
    LaunchedFromLinux program(programPath(), kNonChinese);
    ASSERT_TRUE(program.started());
    HWND window = program.waitForWindow(kMainClass, kTimeout);
    ASSERT_NE(window, nullptr) << "no main window (the test must run on the default desktop)";
    program.waitIdle();
    const QueryControls c = findQueryControls(window);
    ASSERT_TRUE(c.complete());

    EXPECT_EQ(textWide(window), L"Vantor打野布阵查询V2.0 bbs.vantor.example");
    EXPECT_EQ(comboItems(c.level), (std::vector<std::wstring>{L"10", L"20", L"30", L"40", L"50", L"60", L"70", L"80",
                                                              L"90", L"100", L"110"}));
    EXPECT_EQ(comboItems(c.kind), (std::vector<std::wstring>{L"暗风猎手", L"邪月蛮兵", L"恶雷炮手", L"黑雾巫妖"}));
    struct Shown {
        const wchar_t* cls;
        int left, top;
        const wchar_t* text;
    };
    const Shown shown[] = {
        {L"Button", 336, 184, L"按钮"},
        {L"Button", 56, 400, L"更多辅助工具"},
        {L"Button", 200, 400, L"游戏攻略"},
        {L"Button", 344, 400, L"官方论坛"},
        {L"VantorTransLabel", 94, 280, L"敌方总兵数："},
        {L"VantorTransLabel", 264, 280, L"敌方阵形为:"},
        {L"VantorTransLabel", 64, 113,
         L"Mossreach野怪天天要打，但是如何才能损失最小？Mossreach野怪布阵兵力查询器帮你一键选择阵容。  "
         L"bbs.vantor.example"},
        {L"VantorTransLabel", 182, 280, L"240"},
        {L"VantorTransLabel", 352, 280, L"弓弓魔炮"},
        {L"VantorTransLabel", 280, 328, L"炮魔弓步"},
    };
    for (const Shown& s : shown) {
        HWND control = findControl(window, s.cls, s.left, s.top);
        ASSERT_NE(control, nullptr) << s.left << "," << s.top;
        EXPECT_EQ(textWide(control), s.text) << s.left << "," << s.top;
    }

    queryByIndex(c, 1, 6);  // 邪月蛮兵 at level 70
    EXPECT_EQ(textWide(c.troops), L"39160");
    EXPECT_EQ(textWide(c.enemy), L"步炮步弓");
    EXPECT_EQ(textWide(c.best), L"魔\u6B69弓炮");
}

}  // namespace
