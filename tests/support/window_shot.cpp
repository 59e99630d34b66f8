// window_shot.exe - starts a program, waits until its first window is shown and the
// program is idle, saves a screenshot of that window (frame included, as the screen
// shows it) as a 24-bit BMP, closes the
// window as the close box would and returns the program's exit code. Used by the
// run command on a machine without a display.
//
//   window_shot.exe OUT.bmp PROGRAM.exe
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND hwnd, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != nullptr) return TRUE;
    search->found = hwnd;
    return FALSE;
}

bool saveScreenArea(const RECT& area, const wchar_t* path) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    const int stride = (width * 3 + 3) & ~3;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as BMP files store it
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride * height);
    std::vector<unsigned char> pixels(header.biSizeImage);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);

    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = _wfopen(path, L"wb");
    if (out == nullptr) return false;
    bool ok = fwrite(&file, sizeof file, 1, out) == 1 && fwrite(&header, sizeof header, 1, out) == 1 &&
              fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return fclose(out) == 0 && ok;
}

}  // namespace

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
    Search search{process.dwProcessId, nullptr};
    for (int i = 0; i < 1000 && search.found == nullptr; ++i) {
        if (WaitForSingleObject(process.hProcess, 20) == WAIT_OBJECT_0) break;
        EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    }
    int status = 0;
    if (search.found == nullptr) {
        std::fprintf(stderr, "window_shot: the program showed no window\n");
        status = 1;
    } else {
        WaitForInputIdle(process.hProcess, 10000);
        Sleep(500);  // let the last paints reach the screen
        RECT area;
        GetWindowRect(search.found, &area);
        if (!saveScreenArea(area, argv[1])) {
            std::fprintf(stderr, "window_shot: cannot write the screenshot\n");
            status = 1;
        }
        PostMessageW(search.found, WM_SYSCOMMAND, SC_CLOSE, 0);
    }
    if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return status != 0 ? status : static_cast<int>(code);
}
