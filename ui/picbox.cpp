#include "ui/picbox.h"

#include "ui/timeline.h"

#include <utility>

namespace {
const wchar_t kClassName[] = L"VantorPicBox";
}

PicBox::PicBox(const ControlArgs& args) : Control(args) {}

bool PicBox::create(HWND window) {
    const auto& props = *propsOf<PicBoxProps>(entry_);
    background_ = Brush(CreateSolidBrush(colorRef(props.background)));
    PreparedParts parts;
    if (!site_.takePrepared(index_, parts)) return false;
    picture_ = std::move(parts.picture);
    if (picture_) {
        BITMAP info{};
        GetObjectW(picture_.get(), sizeof info, &info);
        pictureSize_ = {info.bmWidth, info.bmHeight};
    }
    pictureDc_.emplace(picture_.get());
    return registerWindowClass({.name = kClassName}) &&
           createWindow(window, kClassName, WS_CLIPCHILDREN, L"", entry_.height, this);
}

// A panel is borderless and never moved or resized, so its client area is its
// entry's rectangle, and the picture's size is known from its decoding: a repaint
// beneath a label asks the window system nothing.
void PicBox::paintContent(HDC dc) const {
    const RECT client{0, 0, entry_.width, entry_.height};
    FillRect(dc, &client, background_.get());
    HDC source = pictureDc_ ? pictureDc_->get() : nullptr;
    if (source == nullptr) return;
    BitBlt(dc, 0, 0, pictureSize_.cx, pictureSize_.cy, source, 0, 0, SRCCOPY);
}

LRESULT PicBox::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintScope paint(hwnd);
        paintContent(paint.dc());
        markStep("painted", entry_.name);
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
