// window_shot.exe - starts a program, waits until its first window is shown and the
// program is idle, saves a screenshot of that window (frame included, as the screen
// shows it) as a 24-bit BMP, closes the
// window as the close box would and returns the program's exit code. Used by the
// run command on a machine without a display.
//
//   window_shot.exe OUT.bmp PROGRAM.exe
#include "tests/support/desktop.h"

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: window_shot OUT.bmp PROGRAM.exe\n");
        return 125;
    }
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(argv[2], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fprintf(stderr, "window_shot: cannot start the program (error %lu)\n", GetLastError());
        return 126;
    }
    HWND window = nullptr;
    for (int i = 0; i < 1000 && window == nullptr; ++i) {
        if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) break;
        window = shownWindowOf(process.dwProcessId);
    }
    int status = 0;
    if (window == nullptr) {
        std::fprintf(stderr, "window_shot: the program showed no window\n");
        status = 1;
    } else {
        WaitForInputIdle(process.hProcess, 10000);
        RECT area;
        GetWindowRect(window, &area);
        if (!saveSettledScreenArea(area, argv[1])) {
            std::fprintf(stderr, "window_shot: cannot write the screenshot\n");
            status = 1;
        }
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status != 0 ? status : static_cast<int>(code);
}
