#include "ui/web_link.h"

#include "ui/maker_site.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

// The shell is loaded on the first click, not at start-up, where it would cost
// more than everything else the program does. DLLs come from the system
// directory only (see restrictDllSearch).
void openWebAddress(const char* address) {
    HMODULE shell = LoadLibraryW(L"shell32.dll");
    auto shellExecute = reinterpret_cast<decltype(&ShellExecuteA)>(
        reinterpret_cast<void*>(GetProcAddress(shell, "ShellExecuteA")));
    if (shellExecute == nullptr) return;
    // The shell may hand the address to COM extensions: the GUI thread is a
    // single-threaded apartment while it does.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    shellExecute(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    if (SUCCEEDED(com)) CoUninitialize();
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
