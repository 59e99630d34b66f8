#include "tests/win/support.h"

#include <cstdio>

std::wstring programPath() {
    return PROGRAM_PATH;
}

std::wstring unfilledProgramPath() {
    return UNFILLED_PROGRAM_PATH;
}

std::wstring damagedProgramPath() {
    return DAMAGED_PROGRAM_PATH;
}

std::string assetPath(const char* file) {
    return std::string(ASSETS_DIR "/") + file;
}

Launched::Launched(const std::wstring& exe, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info_)) {
        info_ = {};
    }
}

Launched::~Launched() {
    if (info_.hProcess == nullptr) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(info_.hProcess, 0xDEAD);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD Launched::waitForExit(DWORD milliseconds) const {
    if (WaitForSingleObject(info_.hProcess, milliseconds) != WAIT_OBJECT_0) return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void Launched::waitIdle() const {
    WaitForInputIdle(info_.hProcess, 10000);
}

namespace {

struct WindowSearch {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND hwnd, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd)) return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (wcscmp(cls, search->cls) != 0) return TRUE;
    search->found = hwnd;
    return FALSE;
}

struct ControlSearch {
    HWND root;
    const wchar_t* cls;
    int left, top;
    HWND found;
};

BOOL CALLBACK matchControl(HWND hwnd, LPARAM parameter) {
    auto* search = reinterpret_cast<ControlSearch*>(parameter);
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    RECT r = rectIn(hwnd, search->root);
    if (_wcsicmp(cls, search->cls) == 0 && r.left == search->left && r.top == search->top) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND Launched::waitForWindow(const wchar_t* cls, DWORD milliseconds) const {
    DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{info_.dwProcessId, cls, nullptr};
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr || GetTickCount() - start > milliseconds) return search.found;
        Sleep(20);
    }
}

std::string className(HWND hwnd) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, 64);
    return cls;
}

std::wstring textWide(HWND hwnd) {
    LRESULT length = SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

std::string textGbk(HWND hwnd) {
    std::wstring wide = textWide(hwnd);
    if (wide.empty()) return {};
    int length = WideCharToMultiByte(936, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(936, 0, wide.c_str(), static_cast<int>(wide.size()), gbk.data(), length, nullptr, nullptr);
    return gbk;
}

RECT rectIn(HWND hwnd, HWND reference) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, reference, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND findControl(HWND root, const wchar_t* cls, int left, int top) {
    ControlSearch search{root, cls, left, top, nullptr};
    EnumChildWindows(root, matchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void pumpMessages(DWORD milliseconds) {
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

void pressKey(WORD key, bool shift) {
    INPUT inputs[4] = {};
    int n = 0;
    auto add = [&](WORD vk, bool up) {
        inputs[n].type = INPUT_KEYBOARD;
        inputs[n].ki.wVk = vk;
        inputs[n].ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        ++n;
    };
    if (shift) add(VK_SHIFT, false);
    add(key, false);
    add(key, true);
    if (shift) add(VK_SHIFT, true);
    SendInput(static_cast<UINT>(n), inputs, sizeof(INPUT));
}

void clickAt(HWND hwnd, POINT client) {
    POINT screen = client;
    ClientToScreen(hwnd, &screen);
    SetCursorPos(screen.x, screen.y);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

Screenshot captureClient(HWND hwnd) {
    Screenshot shot;
    RECT client;
    GetClientRect(hwnd, &client);
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    shot.width = client.right;
    shot.height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* p = static_cast<const std::uint32_t*>(bits);
    shot.pixels.assign(p, p + static_cast<std::size_t>(shot.width) * shot.height);
    for (auto& px : shot.pixels) px &= 0xFFFFFF;
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    return shot;
}

int colourDistance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
        worst = std::max(worst, d < 0 ? -d : d);
    }
    return worst;
}

std::string hexBytes(const std::string& bytes) {
    std::string out;
    char buffer[4];
    for (unsigned char c : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X ", c);
        out += buffer;
    }
    if (!out.empty()) out.pop_back();
    return out;
}
