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
