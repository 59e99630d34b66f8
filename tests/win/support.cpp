#include "tests/win/support.h"

#include "tests/support/desktop.h"

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

std::wstring probeProgramPath() {
    return PROBE_PROGRAM_PATH;
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
    // The press and the release carry the point themselves. A bare press goes wherever
    // the cursor is when it is handled, and Wine can still move the cursor after
    // SetCursorPos: the X pointer events of a window mapped under the old pointer
    // position (a program just started, a list just opened) arrive later and put the
    // cursor back there, and the press then lands on another control.
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    // Normalised to 0 ... 65535 and rounded up, so that scaling back and truncating gives
    // the same pixel.
    const LONG dx = static_cast<LONG>((static_cast<long long>(screen.x) * 65536 + width - 1) / width);
    const LONG dy = static_cast<LONG>((static_cast<long long>(screen.y) * 65536 + height - 1) / height);
    INPUT inputs[2] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = dx;
        input.mi.dy = dy;
    }
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

Screenshot captureClient(HWND hwnd) {
    RECT client;
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    return captureScreen(client);
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

std::wstring shippedProgramPath() {
    return SHIPPED_PROGRAM_PATH;
}

HWND focusedWindowOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// ---- Selectors, the query and saved screenshots ----

#include <algorithm>

std::string gbkOf(const std::wstring& wide) {
    if (wide.empty()) return {};
    int length = WideCharToMultiByte(936, 0, wide.c_str(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string gbk(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(936, 0, wide.c_str(), static_cast<int>(wide.size()), gbk.data(), length, nullptr, nullptr);
    return gbk;
}

namespace {

std::vector<std::wstring> itemsOf(HWND hwnd, UINT count, UINT length, UINT text) {
    std::vector<std::wstring> items;
    LRESULT n = SendMessageW(hwnd, count, 0, 0);
    for (LRESULT i = 0; i < n; ++i) {
        LRESULT size = SendMessageW(hwnd, length, static_cast<WPARAM>(i), 0);
        std::wstring item(static_cast<std::size_t>(size < 0 ? 0 : size) + 1, L'\0');
        LRESULT copied = SendMessageW(hwnd, text, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item.data()));
        item.resize(static_cast<std::size_t>(copied < 0 ? 0 : copied));
        items.push_back(item);
    }
    return items;
}

}  // namespace

std::vector<std::wstring> comboItems(HWND combo) {
    return itemsOf(combo, CB_GETCOUNT, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

std::vector<std::wstring> listItems(HWND list) {
    return itemsOf(list, LB_GETCOUNT, LB_GETTEXTLEN, LB_GETTEXT);
}

QueryControls findQueryControls(HWND window) {
    QueryControls c;
    c.level = findControl(window, L"ComboBox", 187, 184);
    c.kind = findControl(window, L"ComboBox", 187, 227);
    c.query = findControl(window, L"Button", 336, 184);
    c.troops = findControl(window, L"VantorTransLabel", 182, 280);
    c.enemy = findControl(window, L"VantorTransLabel", 352, 280);
    c.best = findControl(window, L"VantorTransLabel", 280, 328);
    return c;
}

void queryByIndex(const QueryControls& controls, int kind, int level) {
    SendMessageW(controls.kind, CB_SETCURSEL, static_cast<WPARAM>(kind), 0);
    SendMessageW(controls.level, CB_SETCURSEL, static_cast<WPARAM>(level), 0);
    SendMessageW(controls.query, BM_CLICK, 0, 0);
}

Screenshot captureSettled(HWND hwnd) {
    Screenshot previous = captureClient(hwnd);
    for (int attempt = 0; attempt < 40; ++attempt) {
        Sleep(50);
        Screenshot next = captureClient(hwnd);
        if (next.width == previous.width && next.height == previous.height && next.pixels == previous.pixels) {
            return next;
        }
        previous = std::move(next);
    }
    return previous;
}

bool saveWindowBmp(HWND hwnd, const std::wstring& path) {
    RECT area;
    GetWindowRect(hwnd, &area);
    return saveScreenArea(area, path.c_str());
}

// ---- Starting a program as a Linux shell would ----

namespace {

struct ClassSearch {
    const wchar_t* cls;
    DWORD pid;  // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM parameter) {
    auto* search = reinterpret_cast<ClassSearch*>(parameter);
    if (!IsWindowVisible(hwnd)) return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (search->pid != 0 && pid != search->pid) return TRUE;
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, 64);
    if (search->cls == nullptr || wcscmp(cls, search->cls) == 0) search->found.push_back(hwnd);
    return TRUE;
}

std::vector<HWND> visibleWindows(const wchar_t* cls, DWORD pid) {
    ClassSearch search{cls, pid, {}};
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool sameName(const std::wstring& entry, const std::wstring& name) {
    return entry.size() > name.size() && entry[name.size()] == L'=' &&
           _wcsnicmp(entry.c_str(), name.c_str(), name.size()) == 0;
}

std::wstring environmentVariable(const wchar_t* name, const wchar_t* fallback) {
    wchar_t value[1024];
    DWORD length = GetEnvironmentVariableW(name, value, 1024);
    return length > 0 && length < 1024 ? std::wstring(value, length) : std::wstring(fallback);
}

}  // namespace

std::vector<HWND> visibleWindowsOf(DWORD pid) {
    return visibleWindows(nullptr, pid);
}

LaunchedFromLinux::LaunchedFromLinux(const std::wstring& exe, const Changes& changes, const std::wstring& arguments) {
    std::vector<std::wstring> entries;
    if (wchar_t* block = GetEnvironmentStringsW()) {
        for (const wchar_t* p = block; *p != L'\0'; p += wcslen(p) + 1) entries.emplace_back(p);
        FreeEnvironmentStringsW(block);
    }
    // Wine takes WINEDLLOVERRIDES out of a program's environment once it has read it;
    // the test platform's choice (tools/winplat.sh) is restored for the new process.
    Changes all{{L"WINEDLLOVERRIDES", L"mscoree,mshtml=;winemenubuilder.exe=d"}};
    all.insert(all.end(), changes.begin(), changes.end());
    for (const auto& [name, value] : all) {
        std::erase_if(entries, [&](const std::wstring& entry) { return sameName(entry, name); });
        if (!value.empty()) entries.push_back(name + L"=" + value);
    }
    std::wstring block;
    for (const auto& entry : entries) block += entry + L'\0';
    block += L'\0';

    before_ = visibleWindows(kMainClass, 0);
    const std::wstring wine = environmentVariable(L"WINPLAT_WINE", L"/usr/lib/wine/wine64");
    std::wstring commandLine = L"env \"" + wine + L"\" \"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    started_ = CreateProcessW(L"Z:\\usr\\bin\\env", commandLine.data(), nullptr, nullptr, FALSE,
                              CREATE_UNICODE_ENVIRONMENT, block.data(), nullptr, &startup, &info) != FALSE;
    // A Linux program gets no Windows process: there are no handles to keep.
    if (info.hThread != nullptr) CloseHandle(info.hThread);
    if (info.hProcess != nullptr) CloseHandle(info.hProcess);
}

LaunchedFromLinux::~LaunchedFromLinux() {
    if (process_ == nullptr) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 0xDEAD);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

HWND LaunchedFromLinux::waitForWindow(const wchar_t* cls, DWORD milliseconds) {
    DWORD start = GetTickCount();
    for (;;) {
        for (HWND hwnd : visibleWindows(cls, pid_)) {
            if (pid_ != 0) return hwnd;
            if (std::find(before_.begin(), before_.end(), hwnd) != before_.end()) continue;
            GetWindowThreadProcessId(hwnd, &pid_);
            process_ = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid_);
            return hwnd;
        }
        if (GetTickCount() - start > milliseconds) return nullptr;
        Sleep(20);
    }
}

void LaunchedFromLinux::waitIdle() const {
    if (process_ != nullptr) WaitForInputIdle(process_, 10000);
}

bool LaunchedFromLinux::running() const {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

Screenshot captureScreen(const RECT& area) {
    Screenshot shot;
    shot.width = area.right - area.left;
    shot.height = area.bottom - area.top;
    if (shot.width <= 0 || shot.height <= 0) return Screenshot{};
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
    BitBlt(memory, 0, 0, shot.width, shot.height, screen, area.left, area.top, SRCCOPY);
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

std::wstring dllSearchProbePath() {
    return DLL_SEARCH_PROBE_PATH;
}

std::wstring plantedDllPath() {
    return PLANTED_DLL_PATH;
}

RegistryValue::RegistryValue(const wchar_t* key, const wchar_t* name, const std::wstring& value)
    : key_(key), name_(name) {
    wchar_t buffer[2048];
    DWORD size = sizeof buffer;
    existed_ = RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) == ERROR_SUCCESS;
    if (existed_) previous_ = buffer;
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

RegistryValue::~RegistryValue() {
    if (existed_) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str(), REG_SZ, previous_.c_str(),
                        static_cast<DWORD>((previous_.size() + 1) * sizeof(wchar_t)));
    } else {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, key_.c_str(), name_.c_str());
    }
}
