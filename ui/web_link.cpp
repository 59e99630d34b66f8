#include "ui/web_link.h"

#include "ui/maker_site.h"

#include <windows.h>

#include <shellapi.h>

void openWebAddress(const char* address) {
    ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
}

void openMoreToolsPage() {
    openWebAddress(MAKER_SITE "/forum-49-1.html");
}

void openForumPage() {
    openWebAddress(MAKER_SITE "/");
}

void openGuidesPage() {
    openWebAddress(MAKER_SITE "/forum.php?gid=39");
}
