#include "app/win32_host.h"

#include "ui/text.h"
#include "ui/timeline.h"

#include <windows.h>

#include <iterator>
#include <utility>
#include <vector>

void restrictDllSearch() {
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFn>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")));
    if (setDefault != nullptr) setDefault(0x00000800);  // LOAD_LIBRARY_SEARCH_SYSTEM32
    SetDllDirectoryW(L"");
}

void Win32Host::enterExecutableDirectory() {
    std::vector<wchar_t> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return;
        if (length < path.size()) break;
        path.resize(path.size() * 2);
    }
    std::wstring directory(path.data());
    std::size_t slash = directory.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return;
    directory.resize(slash + 1);
    SetCurrentDirectoryW(directory.c_str());
}

void Win32Host::takeGuiThread() {
    guiThread_ = GetCurrentThreadId();
}

bool Win32Host::buildWindow(ResolvedLayout layout) {
    window_ = std::make_unique<MainWindow>(std::move(layout), static_cast<WindowEvents&>(*this), guiThread_);
    if (window_->build()) return true;
    window_.reset();
    return false;
}

bool Win32Host::windowExists() const {
    return window_ != nullptr && window_->hwnd() != nullptr;
}

void Win32Host::showWindow() {
    window_->show();
}

void Win32Host::runMessageLoop() {
    looping_ = true;
    MSG message;
    // A trace build marks the first moment the queue holds nothing, paints
    // included: the window is idle and painted.
    bool idle = stepRecorder == nullptr;
    for (;;) {
        if (!idle && HIWORD(GetQueueStatus(QS_ALLINPUT)) == 0) {
            markStep("idle");
            idle = true;
        }
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) break;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    looping_ = false;
}

std::string Win32Host::readText(std::size_t entry, Property property) {
    Control* control = window_ != nullptr ? window_->control(entry) : nullptr;
    return control != nullptr ? control->text(property) : std::string();
}

void Win32Host::writeText(std::size_t entry, Property property, const char* text) {
    Control* control = window_ != nullptr ? window_->control(entry) : nullptr;
    if (control != nullptr) control->setText(property, text);
}

// Allocates nothing: the box also reports memory that cannot be had.
void Win32Host::showErrorBox(const char* text) {
    wchar_t wideText[sizeof(ErrorText::text)];
    wchar_t caption[8];
    widenInto(text, wideText, std::size(wideText));
    widenInto("错误", caption, std::size(caption));
    MessageBoxW(nullptr, wideText, caption, MB_OK | MB_ICONERROR);
}

void Win32Host::releaseResources() {
    window_.reset();
}

void Win32Host::endProcess(int code) {
    ExitProcess(static_cast<UINT>(code));
}

void Win32Host::raise(std::size_t entry, Event event) {
    dispatchEvent(entry, event);
}

void Win32Host::destroyed() {
    if (looping_) PostQuitMessage(0);
}
