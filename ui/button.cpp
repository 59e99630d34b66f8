#include "ui/button.h"

#include "ui/text.h"
#include "ui/timeline.h"

#include <utility>
#include <vector>

Button::Button(const ControlArgs& args) : Control(args) {}

bool Button::create(HWND window) {
    const auto& props = *propsOf<ButtonProps>(entry_);
    PreparedParts parts;
    if (!site_.takePrepared(index_, parts)) return false;
    picture_ = std::move(parts.picture);
    DWORD style = (props.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | BS_MULTILINE;
    style |= props.hAlign == HAlign::left ? BS_LEFT : props.hAlign == HAlign::right ? BS_RIGHT : BS_CENTER;
    style |= props.vAlign == VAlign::top ? BS_TOP : props.vAlign == VAlign::bottom ? BS_BOTTOM : BS_VCENTER;
    if (picture_) style |= BS_BITMAP;
    if (!createWindow(window, L"BUTTON", style, widen(props.caption).c_str(), entry_.height)) return false;
    font_ = std::move(parts.font);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fontOrDefault(font_)), FALSE);
    if (picture_) SendMessageW(hwnd_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture_.get()));
    return true;
}

std::string Button::text(Property property) const {
    if (property != Property::caption) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(GetWindowTextLengthW(hwnd_)) + 1);
    GetWindowTextW(hwnd_, buffer.data(), static_cast<int>(buffer.size()));
    return narrow(buffer.data());
}

bool Button::onNotification(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    // A push button asks its parent for its colours as it paints.
    if (message == WM_CTLCOLORBTN) markStep("painted", entry_.name);
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return false;
    site_.raise(index_, Event::clicked);
    result = 0;
    return true;
}
