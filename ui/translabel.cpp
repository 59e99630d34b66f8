#include "ui/translabel.h"

#include "ui/text.h"
#include "ui/timeline.h"

#include <algorithm>
#include <utility>

namespace {
const wchar_t kClassName[] = L"VantorTransLabel";
}

TransLabel::TransLabel(const ControlArgs& args) : Control(args) {}

bool TransLabel::create(HWND window) {
    const auto& props = *propsOf<TransLabelProps>(entry_);
    storeCaption(props.caption);
    PreparedParts parts;
    if (!site_.takePrepared(index_, parts)) return false;
    font_ = std::move(parts.font);
    canvas_.emplace(entry_.width, entry_.height);
    return registerWindowClass({.name = kClassName}) && createWindow(window, kClassName, 0, L"", entry_.height, this);
}

std::string TransLabel::text(Property property) const {
    return property == Property::caption ? caption_ : std::string();
}

void TransLabel::setText(Property property, const char* text) {
    if (property != Property::caption) return;
    storeCaption(text != nullptr ? text : "");
    captionChanged();
}

void TransLabel::storeCaption(std::string caption) {
    caption_ = std::move(caption);
    shown_ = widen(caption_.c_str());
}

// Painted at once; screen readers hear of the new name as they would of a window
// text set through the platform.
void TransLabel::captionChanged() {
    refresh();
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, hwnd_, OBJID_WINDOW, CHILDID_SELF);
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
    // Borderless and never moved or resized: the client area is the entry's size.
    RECT area{0, 0, entry_.width, entry_.height};
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
    DrawTextW(dc, shown_.c_str(), static_cast<int>(shown_.size()), &area, format);
    SetTextColor(dc, previousColour);
    SetBkMode(dc, previousMode);
}

LRESULT TransLabel::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_SETTEXT:
        // Text set from outside the program (automation) becomes the caption too.
        storeCaption(narrow(reinterpret_cast<const wchar_t*>(lParam)));
        captionChanged();
        return TRUE;
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(shown_.size());
    case WM_GETTEXT: {
        auto* buffer = reinterpret_cast<wchar_t*>(lParam);
        if (buffer == nullptr || wParam == 0) return 0;
        const std::size_t copied = std::min<std::size_t>(shown_.size(), wParam - 1);
        shown_.copy(buffer, copied);
        buffer[copied] = L'\0';
        return static_cast<LRESULT>(copied);
    }
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PaintScope paint(hwnd);
        paintInto(paint.dc());
        markStep("painted", entry_.name);
        return 0;
    }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
