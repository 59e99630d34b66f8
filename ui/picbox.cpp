#include "ui/picbox.h"

namespace {
const wchar_t kClassName[] = L"VantorPicBox";
}

PicBox::PicBox(const ControlArgs& args) : Control(args) {}

bool PicBox::create(HWND window) {
    const auto& props = *propsOf<PicBoxProps>(entry_);
    background_ = Brush(CreateSolidBrush(colorRef(props.background)));
    picture_ = loadPicture(props.picture);
    return registerWindowClass({.name = kClassName}) &&
           createWindow(window, kClassName, WS_CLIPCHILDREN, L"", entry_.height, this);
}

void PicBox::setPicture(Bitmap picture) {
    picture_ = std::move(picture);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void PicBox::paintContent(HDC dc) const {
    RECT client;
    GetClientRect(hwnd_, &client);
    FillRect(dc, &client, background_.get());
    if (!picture_) return;
    BITMAP info;
    GetObjectW(picture_.get(), sizeof info, &info);
    MemoryDc source(dc);
    SelectedObject selected(source.get(), picture_.get());
    BitBlt(dc, 0, 0, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

LRESULT PicBox::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintScope paint(hwnd);
        paintContent(paint.dc());
        return 0;
    }
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (site_.forwardNotification(message, wParam, lParam, result)) return result;
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
