// What the Windows-side tests share: starting the real program, finding its
// windows as a user sees them, real input, texts as GBK bytes and screenshots.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The executables under test (set by the build).
std::wstring programPath();
std::wstring unfilledProgramPath();
std::wstring damagedProgramPath();  // second panel and query button without pictures
// With VANTOR_FAIL_ALLOCATION and a GDI object count (tests/win/probe_main.cpp).
std::wstring probeProgramPath();
// A picture of the program's assets folder, for comparing pixels.
std::string assetPath(const char* file);

// A started process, ended at scope exit if it is still running.
class Launched {
public:
    explicit Launched(const std::wstring& exe, const std::wstring& arguments = L"");
    ~Launched();
    Launched(const Launched&) = delete;
    Launched& operator=(const Launched&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    DWORD pid() const { return info_.dwProcessId; }
    // The exit code, or STILL_ACTIVE when the process has not ended in time.
    DWORD waitForExit(DWORD milliseconds) const;
    // The process's visible top-level window of the given class, or null.
    HWND waitForWindow(const wchar_t* className, DWORD milliseconds) const;
    // Waits until the process is idle for input.
    void waitIdle() const;

private:
    PROCESS_INFORMATION info_{};
};

// The program's main window class and the standard error box's.
inline constexpr wchar_t kMainClass[] = L"VantorMainWindow";
inline constexpr wchar_t kDialogClass[] = L"#32770";

std::string className(HWND hwnd);
// The window text as the program's GBK bytes (wide text converted with code page 936).
std::string textGbk(HWND hwnd);
std::wstring textWide(HWND hwnd);
// A window's rectangle in the client coordinates of `reference`.
RECT rectIn(HWND hwnd, HWND reference);
// The descendant of `root` with this class whose rectangle in `root`'s client
// area begins at (left, top); null when there is none.
HWND findControl(HWND root, const wchar_t* cls, int left, int top);
// Processes this thread's messages for a while (for in-process windows).
void pumpMessages(DWORD milliseconds);

// Real input through SendInput.
void pressKey(WORD key, bool shift = false);
void clickAt(HWND hwnd, POINT client);

// Pixels of a window's client area from the screen DC, as 0x00RRGGBB.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};
Screenshot captureClient(HWND hwnd);

inline std::uint32_t rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
}
// Largest channel difference of two pixels.
int colourDistance(std::uint32_t a, std::uint32_t b);
// "C4 A7 9A 69" for a byte string, for readable failures.
std::string hexBytes(const std::string& bytes);

// The shipped 32-bit executable (built by the win32 preset). The 64-bit tests read it
// as a file; the 32-bit tests run it (there it is programPath() too).
std::wstring shippedProgramPath();
// The machine and optional-header magic the program under test is built for: those of
// this test program, which comes from the same build.
#ifdef _WIN64
constexpr WORD kProgramMachine = IMAGE_FILE_MACHINE_AMD64;
constexpr WORD kProgramHeaderMagic = IMAGE_NT_OPTIONAL_HDR64_MAGIC;
#else
constexpr WORD kProgramMachine = IMAGE_FILE_MACHINE_I386;
constexpr WORD kProgramHeaderMagic = IMAGE_NT_OPTIONAL_HDR32_MAGIC;
#endif
// The window with the keyboard focus in the thread that owns `window`, as that
// thread sees it (GetGUIThreadInfo); null when the thread has no focus.
HWND focusedWindowOf(HWND window);

// ---- Selectors, the query and saved screenshots ----

#include <utility>

// Wide text as the program's GBK bytes (code page 936).
std::string gbkOf(const std::wstring& wide);
// The items of a combo box (CB_GETLBTEXT) or of a list box (LB_GETTEXT), in list order.
std::vector<std::wstring> comboItems(HWND combo);
std::vector<std::wstring> listItems(HWND list);

// The controls of a query, found in the shown main window by class and position.
struct QueryControls {
    HWND level = nullptr;   // 等级
    HWND kind = nullptr;    // 种类
    HWND query = nullptr;   // 按钮1
    HWND troops = nullptr;  // 元素1
    HWND enemy = nullptr;   // 元素2
    HWND best = nullptr;    // 元素3
    bool complete() const { return level && kind && query && troops && enemy && best; }
};
QueryControls findQueryControls(HWND window);
// Selects kind and level by item index (CB_SETCURSEL) and clicks 按钮1 (BM_CLICK); all
// sent, so the answer is shown when this returns.
void queryByIndex(const QueryControls& controls, int kind, int level);

// The client area once it has stopped changing (two equal captures in a row).
Screenshot captureSettled(HWND hwnd);
// Saves the window as the screen shows it, frame included, as a 24-bit BMP.
bool saveWindowBmp(HWND hwnd, const std::wstring& path);

// ---- Starting a program as a Linux shell would ----

// Wine hands a program it starts its own Linux environment, whatever Windows
// environment the starter passes, so a changed locale (the ANSI code page comes from
// it) or a variable meant for a Linux program the started one runs in turn would not
// arrive. This starts `exe` through /usr/bin/env and the Wine loader instead, with
// this process's environment changed by `changes` (an empty value removes the
// variable): a Linux program started by CreateProcess gets the environment block as
// its environment. The process lands on the default desktop, has no handle and
// lies outside the launcher's job; it is found through its first new window, and
// ended at scope exit if it is still running.
class LaunchedFromLinux {
public:
    using Changes = std::vector<std::pair<std::wstring, std::wstring>>;
    LaunchedFromLinux(const std::wstring& exe, const Changes& changes, const std::wstring& arguments = L"");
    ~LaunchedFromLinux();
    LaunchedFromLinux(const LaunchedFromLinux&) = delete;
    LaunchedFromLinux& operator=(const LaunchedFromLinux&) = delete;

    bool started() const { return started_; }
    // The first time: a visible top-level window of the class that was not there
    // before the start, whose process becomes this one; later: the process's window
    // of the class. Null when none comes.
    HWND waitForWindow(const wchar_t* className, DWORD milliseconds);
    void waitIdle() const;
    bool running() const;

private:
    bool started_ = false;
    std::vector<HWND> before_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
};

// The visible top-level windows of a process.
std::vector<HWND> visibleWindowsOf(DWORD pid);

// Pixels of a rectangle of the screen (screen coordinates), as captureClient takes them.
Screenshot captureScreen(const RECT& area);

// The DLL search probe and the DLL that tests plant (tests/win/dll_search_probe.cpp,
// tests/win/planted_dll.cpp).
std::wstring dllSearchProbePath();
std::wstring plantedDllPath();

// A string value under HKEY_CURRENT_USER set for the scope, then restored (or
// removed, if it did not exist).
class RegistryValue {
public:
    RegistryValue(const wchar_t* key, const wchar_t* name, const std::wstring& value);
    ~RegistryValue();
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

private:
    std::wstring key_, name_, previous_;
    bool existed_ = false;
};
