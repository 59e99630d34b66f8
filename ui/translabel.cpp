#include "ui/translabel.h"

#include "ui/text.h"

namespace {
const wchar_t kClassName[] = L"VantorTransLabel";
}

TransLabel::TransLabel(const ControlArgs& args) : Control(args) {}

bool TransLabel::create(HWND window) {
    const auto& props = *propsOf<TransLabelProps>(entry_);
    caption_ = props.caption;
    font_ = makeFont(props.font);
    canvas_.emplace(entry_.width, entry_.height);
    return registerWindowClass({.name = kClassName}) &&
           createWindow(window, kClassName, 0, widen(props.caption).c_str(), entry_.height, this);
}

std::string TransLabel::text(Property property) const {
    return property == Property::caption ? caption_ : std::string();
}

void TransLabel::setText(Property property, const char* text) {
    if (property != Property::caption) return;
    caption_ = text != nullptr ? text : "";
    DefWindowProcW(hwnd_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(caption_.c_str()).c_str()));
    refresh();
}

// Repaints the label now, through a DC of its window: it is clipped as a paint
// would be, and a paint still pending draws the same picture again.
void TransLabel::refresh() {
    HDC dc = GetDC(hwnd_);
    if (dc == nullptr) return;
    paintInto(dc);
    ReleaseDC(hwnd_, dc);
}

// What lies beneath, then the caption, composed in the canvas and copied at once;
// without a canvas (it could not be made), painted straight into the target.
void TransLabel::paintInto(HDC target) {
    HDC canvas = canvas_->dc();
    HDC dc = canvas != nullptr ? canvas : target;
    site_.paintBeneath(index_, dc);
    paintContent(dc);
    if (canvas != nullptr) BitBlt(target, 0, 0, entry_.width, entry_.height, canvas, 0, 0, SRCCOPY);
}

void TransLabel::paintContent(HDC dc) const {
    if (caption_.empty()) return;
    const auto& props = *propsOf<TransLabelProps>(entry_);
    RECT area;
    GetClientRect(hwnd_, &area);
    UINT format = DT_NOCLIP | DT_NOPREFIX;
    format |= props.hAlign == HAlign::left ? DT_LEFT : props.hAlign == HAlign::centre ? DT_CENTER : DT_RIGHT;
    if (props.wordWrap) {
        format |= DT_WORDBREAK | DT_TOP;
    } else {
        format |= DT_SINGLELINE;
        format |= props.vAlign == VAlign::top ? DT_TOP : props.vAlign == VAlign::centre ? DT_VCENTER : DT_BOTTOM;
    }
    SelectedObject font(dc, fontOrDefault(font_));
    int previousMode = SetBkMode(dc, TRANSPARENT);
    COLORREF previousColour = SetTextColor(dc, colorRef(props.text));
    std::wstring text = widen(caption_.c_str());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
}

LRESULT TransLabel::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_SETTEXT: {
        // Text set from outside the program (automation) becomes the caption too.
        caption_ = narrow(reinterpret_cast<const wchar_t*>(lParam));
        LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        refresh();
        return result;
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintScope paint(hwnd);
        paintInto(paint.dc());
        return 0;
    }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
