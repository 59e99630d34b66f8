#include "tests/support/desktop.h"

#include <cstdio>
#include <vector>

namespace {

struct Search {
    DWORD pid;
    HWND found;
};

BOOL CALLBACK matchShownWindow(HWND hwnd, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != search->pid || !IsWindowVisible(hwnd) || GetWindow(hwnd, GW_OWNER) != nullptr) return TRUE;
    search->found = hwnd;
    return FALSE;
}

}  // namespace

HWND shownWindowOf(DWORD pid) {
    Search search{pid, nullptr};
    EnumWindows(matchShownWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

// The screen's pixels in `area`, as a bottom-up 24-bit DIB described by `header`;
// empty if they cannot be read.
std::vector<unsigned char> readScreen(const RECT& area, BITMAPINFOHEADER& header) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return {};
    const int stride = (width * 3 + 3) & ~3;
    header = BITMAPINFOHEADER{};
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
    int rows = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (rows != height) return {};
    return pixels;
}

bool writeBmp(const BITMAPINFOHEADER& header, const std::vector<unsigned char>& pixels, const wchar_t* path) {
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;
    FILE* out = _wfopen(path, L"wb");
    if (out == nullptr) return false;
    bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&header, sizeof header, 1, out) == 1 &&
              std::fwrite(pixels.data(), pixels.size(), 1, out) == 1;
    return std::fclose(out) == 0 && ok;
}

}  // namespace

bool saveScreenArea(const RECT& area, const wchar_t* path) {
    BITMAPINFOHEADER header;
    const std::vector<unsigned char> pixels = readScreen(area, header);
    return !pixels.empty() && writeBmp(header, pixels, path);
}

bool saveSettledScreenArea(const RECT& area, const wchar_t* path) {
    BITMAPINFOHEADER header;
    std::vector<unsigned char> pixels = readScreen(area, header);
    for (int attempt = 0; attempt < 100 && !pixels.empty(); ++attempt) {
        Sleep(50);
        std::vector<unsigned char> next = readScreen(area, header);
        if (next == pixels) break;
        pixels = std::move(next);
    }
    return !pixels.empty() && writeBmp(header, pixels, path);
}
