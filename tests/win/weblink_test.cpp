// The three web-link buttons of the real program. Under Wine, ShellExecute "open" of an
// http address runs winebrowser, which runs the program named by the registry value
// HKCU\Software\Wine\WineBrowser "Browsers"; the tests point it at a recording script
// (tests/win/record_url.sh) or at nothing, and put the value back afterwards.
#include "tests/win/support.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <fstream>
#include <sstream>

namespace {

BOOL CALLBACK collectText(HWND child, LPARAM parameter) {
    reinterpret_cast<std::vector<std::wstring>*>(parameter)->push_back(textWide(child));
    return TRUE;
}


constexpr DWORD kTimeout = 20000;
const wchar_t kBrowserKey[] = L"Software\\Wine\\WineBrowser";

// Sets "Browsers" for the test's scope; the value, or its absence, is restored after.
class BrowserSetting {
public:
    explicit BrowserSetting(const std::wstring& browser) {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kBrowserKey, 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS) {
            keyExisted_ = true;
            DWORD size = 0;
            if (RegQueryValueExW(key, L"Browsers", nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
                old_.resize(size);
                valueExisted_ = RegQueryValueExW(key, L"Browsers", nullptr, &type_, old_.data(), &size) == ERROR_SUCCESS;
            }
            RegCloseKey(key);
        }
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kBrowserKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
            ERROR_SUCCESS) {
            set_ = RegSetValueExW(key, L"Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(browser.c_str()),
                                  static_cast<DWORD>((browser.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
            RegCloseKey(key);
        }
    }
    ~BrowserSetting() {
        HKEY key = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, kBrowserKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            if (valueExisted_) {
                RegSetValueExW(key, L"Browsers", 0, type_, old_.data(), static_cast<DWORD>(old_.size()));
            } else {
                RegDeleteValueW(key, L"Browsers");
            }
            RegCloseKey(key);
        }
        if (!keyExisted_) RegDeleteKeyW(HKEY_CURRENT_USER, kBrowserKey);
    }
    BrowserSetting(const BrowserSetting&) = delete;
    BrowserSetting& operator=(const BrowserSetting&) = delete;

    bool set() const { return set_; }

private:
    bool keyExisted_ = false, valueExisted_ = false, set_ = false;
    DWORD type_ = REG_SZ;
    std::vector<BYTE> old_;
};

struct Link {
    const char* name;
    int left, top;
    const char* address;
};
constexpr Link kLinks[] = {
    {"按钮2 更多辅助工具", 56, 400, "http://bbs.vantor.example/forum-49-1.html"},
    {"按钮4 游戏攻略", 200, 400, "http://bbs.vantor.example/forum.php?gid=39"},
    {"按钮3 官方论坛", 344, 400, "http://bbs.vantor.example/"},
};

std::vector<std::string> linesOf(const std::wstring& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) lines.push_back(line);
    return lines;
}

// The recorded lines once there are `count` of them (or the time is up).
std::vector<std::string> waitForLines(const std::wstring& path, std::size_t count) {
    DWORD start = GetTickCount();
    std::vector<std::string> lines = linesOf(path);
    while (lines.size() < count && GetTickCount() - start < kTimeout) {
        Sleep(50);
        lines = linesOf(path);
    }
    return lines;
}

// Waits until no winebrowser.exe runs: a click's ShellExecute has started its one by
// the time BM_CLICK returns, so once none is left, every click has been handed to the
// browser, or given up on. False if one is still running when the time is up.
bool waitUntilNoBrowserLauncher() {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kTimeout; Sleep(50)) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return false;
        bool running = false;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && !running; more = Process32NextW(snapshot, &entry)) {
            running = _wcsicmp(entry.szExeFile, L"winebrowser.exe") == 0;
        }
        CloseHandle(snapshot);
        if (!running) return true;
    }
    return false;
}

void click(HWND button) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, kTimeout, &result);
}

TEST(WebLink, EachButtonOpensItsAddressOncePerClick) {
    BrowserSetting browser(RECORD_URL_SCRIPT);
    ASSERT_TRUE(browser.set());
    std::wostringstream name;
    name << L"/tmp/vantor-recorded-urls-" << GetCurrentProcessId() << L"-" << GetTickCount() << L".log";
    const std::wstring log = name.str(), logPath = L"Z:" + log;
    DeleteFileW(logPath.c_str());
    {
        // The log's name reaches the script through the program's Linux environment.
        LaunchedFromLinux program(programPath(), {{L"RECORDED_URLS_FILE", log}});
        ASSERT_TRUE(program.started());
        HWND window = program.waitForWindow(kMainClass, kTimeout);
        ASSERT_NE(window, nullptr) << "no main window (the test must run on the default desktop)";
        program.waitIdle();

        std::vector<std::string> expected;
        for (const Link& link : kLinks) {
            HWND button = findControl(window, L"Button", link.left, link.top);
            ASSERT_NE(button, nullptr) << link.name;
            click(button);
            expected.push_back(link.address);
            EXPECT_EQ(waitForLines(logPath, expected.size()), expected) << "after a click on " << link.name;
        }
        // Twice more on the same button: twice more its address.
        HWND last = findControl(window, L"Button", kLinks[2].left, kLinks[2].top);
        click(last);
        click(last);
        expected.insert(expected.end(), 2, kLinks[2].address);
        EXPECT_EQ(waitForLines(logPath, expected.size()), expected);
        EXPECT_TRUE(waitUntilNoBrowserLauncher()) << "winebrowser.exe keeps running";
        EXPECT_EQ(linesOf(logPath), expected) << "an address was opened more than once";
        EXPECT_TRUE(program.running());
    }
    DeleteFileW(logPath.c_str());
}

TEST(WebLink, WithoutABrowserAClickChangesNothing) {
    BrowserSetting browser(L"/nonexistent/vantor-test-browser");
    ASSERT_TRUE(browser.set());
    Launched program(programPath());
    ASSERT_TRUE(program.started());
    HWND window = program.waitForWindow(kMainClass, kTimeout);
    ASSERT_NE(window, nullptr);
    program.waitIdle();

    std::vector<HWND> shown = visibleWindowsOf(program.pid());
    auto texts = [&] {
        std::vector<std::wstring> all{textWide(window)};
        EnumChildWindows(window, collectText, reinterpret_cast<LPARAM>(&all));
        return all;
    };
    const std::vector<std::wstring> before = texts();
    for (const Link& link : kLinks) {
        HWND button = findControl(window, L"Button", link.left, link.top);
        ASSERT_NE(button, nullptr) << link.name;
        click(button);
    }
    // winebrowser looks for the browser, finds none and gives up.
    EXPECT_TRUE(waitUntilNoBrowserLauncher()) << "winebrowser.exe keeps running";
    EXPECT_EQ(program.waitForExit(0), STILL_ACTIVE) << "the program ended";
    EXPECT_EQ(visibleWindowsOf(program.pid()), shown) << "a window came or went";
    EXPECT_EQ(texts(), before);
    EXPECT_TRUE(IsWindowEnabled(window)) << "a modal window holds the program";
}

}  // namespace
