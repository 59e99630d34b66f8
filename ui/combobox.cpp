#include "ui/combobox.h"

#include "ui/text.h"
#include "ui/timeline.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr int kMinimumDropHeight = 160;
constexpr int kTextIndent = 2;

}  // namespace

ComboBox::ComboBox(const ControlArgs& args) : Control(args) {}

bool ComboBox::create(HWND window) {
    const auto& props = *propsOf<ComboBoxProps>(entry_);
    // The font and item height must be known before the window exists: the list
    // asks for its item height while it is being created. The default item height
    // for a font is its text height.
    PreparedParts parts;
    if (!site_.takePrepared(index_, parts)) return false;
    font_ = std::move(parts.font);
    itemHeight_ = parts.textHeight + props.extraItemHeight;
    background_ = Brush(CreateSolidBrush(colorRef(props.background)));
    DWORD style = CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS | WS_VSCROLL;
    if (props.sorted) style |= CBS_SORT;
    totalHeight_ = std::max(entry_.height, kMinimumDropHeight);
    if (!createWindow(window, L"COMBOBOX", style, L"", totalHeight_)) return false;
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(fontOrDefault(font_)), FALSE);
    SendMessageW(hwnd_, CB_SETITEMHEIGHT, 0, itemHeight_);
    for (std::size_t i = 0; i < props.itemCount; ++i) {
        SendMessageW(hwnd_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(props.items[i]).c_str()));
    }
    int last = static_cast<int>(props.itemCount) - 1;
    SendMessageW(hwnd_, CB_SETCURSEL, static_cast<WPARAM>(std::clamp(props.selection, -1, last)), 0);
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (GetComboBoxInfo(hwnd_, &info)) list_ = info.hwndList;
    // The list's owner is kept in its GWLP_USERDATA, which the list class leaves to
    // the program. A window property would cost a round trip to the window server
    // under Wine on every message the list receives, and each reading of the
    // selection sends it one.
    if (list_ != nullptr) {
        SetWindowLongPtrW(list_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        listProcedure_ = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ComboBox::listMessage)));
    }
    return true;
}

// The list's messages pass here first: every placement of the list is held inside
// the selector's total height, then the list handles the message as it would.
LRESULT CALLBACK ComboBox::listMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* box = reinterpret_cast<ComboBox*>(GetWindowLongPtrW(list, GWLP_USERDATA));
    if (box == nullptr) return DefWindowProcW(list, message, wParam, lParam);
    WNDPROC procedure = box->listProcedure_;
    if (message == WM_WINDOWPOSCHANGING) box->limitListPlacement(*reinterpret_cast<WINDOWPOS*>(lParam));
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
        SetWindowLongPtrW(list, GWLP_USERDATA, 0);
        box->listProcedure_ = nullptr;
    }
    return CallWindowProcW(procedure, list, message, wParam, lParam);
}

// The opened list takes at most the total height less the field's; opened above the
// field (no room below it), it keeps touching the field.
void ComboBox::limitListPlacement(WINDOWPOS& position) const {
    if ((position.flags & SWP_NOSIZE) != 0) return;
    RECT field;
    GetWindowRect(hwnd_, &field);
    const int limit = totalHeight_ - (field.bottom - field.top);
    if (limit <= 0 || position.cy <= limit) return;
    if ((position.flags & SWP_NOMOVE) == 0 && position.y < field.top) position.y += position.cy - limit;
    position.cy = limit;
}

bool ComboBox::owns(HWND hwnd) const {
    return hwnd != nullptr && (hwnd == hwnd_ || hwnd == list_);
}

std::wstring ComboBox::itemText(int item) const {
    if (item < 0) return {};
    LRESULT length = SendMessageW(hwnd_, CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0);
    if (length == CB_ERR) return {};
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
    SendMessageW(hwnd_, CB_GETLBTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

// One call into the window system: the selection is asked for (it is also set
// from outside the program), but the items are the description's own GBK texts in
// its order, as an unsorted selector holds them, so the text needs no further trip
// and no conversion.
std::string ComboBox::text(Property property) const {
    if (property != Property::content) return {};
    const auto& props = *propsOf<ComboBoxProps>(entry_);
    int selected = static_cast<int>(SendMessageW(hwnd_, CB_GETCURSEL, 0, 0));
    if (selected < 0) return {};
    if (!props.sorted && static_cast<std::size_t>(selected) < props.itemCount) return props.items[selected];
    return narrow(itemText(selected).c_str());
}

void ComboBox::drawItem(const DRAWITEMSTRUCT& item) const {
    const auto& props = *propsOf<ComboBoxProps>(entry_);
    const bool field = (item.itemState & ODS_COMBOBOXEDIT) != 0;
    // In the opened list the item under the cursor is marked as lists mark it; the
    // field always shows the selector's own colours.
    const bool marked = !field && (item.itemState & ODS_SELECTED) != 0;
    RECT area = item.rcItem;
    FillRect(item.hDC, &area, marked ? GetSysColorBrush(COLOR_HIGHLIGHT) : background_.get());
    std::wstring text = itemText(static_cast<int>(item.itemID));
    if (!text.empty()) {
        SelectedObject font(item.hDC, fontOrDefault(font_));
        int previousMode = SetBkMode(item.hDC, TRANSPARENT);
        COLORREF previousColour =
            SetTextColor(item.hDC, marked ? GetSysColor(COLOR_HIGHLIGHTTEXT) : colorRef(props.text));
        RECT textArea = area;
        textArea.left += kTextIndent;
        DrawTextW(item.hDC, text.c_str(), static_cast<int>(text.size()), &textArea,
                  DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
        SetTextColor(item.hDC, previousColour);
        SetBkMode(item.hDC, previousMode);
    }
    if (field && (item.itemState & ODS_FOCUS) != 0) DrawFocusRect(item.hDC, &area);
}

bool ComboBox::onNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        // The field keeps the height the control proposes for its font.
        if (measure->itemID != static_cast<UINT>(-1)) measure->itemHeight = static_cast<UINT>(itemHeight_);
        result = TRUE;
        return true;
    }
    case WM_DRAWITEM:
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        markStep("painted", entry_.name);
        result = TRUE;
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC: {
        const auto& props = *propsOf<ComboBoxProps>(entry_);
        auto dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, colorRef(props.text));
        SetBkColor(dc, colorRef(props.background));
        result = reinterpret_cast<LRESULT>(background_.get());
        return true;
    }
    }
    return false;
}
