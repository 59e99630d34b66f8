// The floor of the benchmarks: what the program's window costs a plain program
// that shows the same things with standard controls only. One plain window with
// the program's title and size; the two drop-down lists with their items and bold
// font; the six labels as plain statics in their fonts (楷体 included); the four
// buttons with their captions. All of it is read from the program's window
// description, at the same places in the window. No pictures, no owner drawing,
// no program logic: the program's own start-up is measured against this.
#include "ui/gdi.h"
#include "ui/text.h"
#include "ui/window_description.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace {

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const ControlEntry& entryAt(std::size_t i) {
    return kMainWindow.entries[i];
}

// The entry's rectangle's top-left in the window's client area.
POINT placeInWindow(std::size_t i) {
    POINT place{entryAt(i).left, entryAt(i).top};
    for (const char* parent = entryAt(i).parent; parent[0] != '\0';) {
        std::size_t p = 1;
        while (p < kMainWindow.count && std::strcmp(entryAt(p).name, parent) != 0) ++p;
        if (p == kMainWindow.count) break;
        place.x += entryAt(p).left;
        place.y += entryAt(p).top;
        parent = entryAt(p).parent;
    }
    return place;
}

HFONT fontFor(const FontSpec* wanted, std::vector<Font>& made) {
    if (wanted == nullptr) return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    made.emplace_back(CreateFontW(-wanted->height, wanted->width, 0, 0, wanted->weight, wanted->italic, wanted->underline,
                             wanted->strikeOut, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, PROOF_QUALITY,
                             DEFAULT_PITCH, widen(wanted->face).c_str()));
    return made.back().get();
}

HWND child(HWND window, const wchar_t* cls, const char* text, DWORD style, std::size_t i, int height) {
    const POINT place = placeInWindow(i);
    return CreateWindowExW(0, cls, widen(text).c_str(), style | WS_CHILD | WS_VISIBLE, place.x, place.y,
                           entryAt(i).width, height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(100 + i)),
                           GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"FloorWindow";
    RegisterClassW(&wc);
    const ControlEntry& top = entryAt(0);
    HWND window = CreateWindowW(L"FloorWindow", widen(std::get<WindowProps>(top.props).title).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, top.width,
                                top.height, nullptr, nullptr, instance, nullptr);
    std::vector<Font> fonts;  // released after the window, which used them, is gone
    fonts.reserve(kMainWindow.count);
    for (std::size_t i = 1; i < kMainWindow.count; ++i) {
        const ControlEntry& e = entryAt(i);
        HWND made = nullptr;
        HFONT font = nullptr;
        if (const auto* label = propsOf<TransLabelProps>(e)) {
            made = child(window, L"STATIC", label->caption, SS_LEFT | SS_NOPREFIX, i, e.height);
            font = fontFor(label->font, fonts);
        } else if (const auto* button = propsOf<ButtonProps>(e)) {
            made = child(window, L"BUTTON", button->caption, BS_PUSHBUTTON | WS_TABSTOP, i, e.height);
            font = fontFor(button->font, fonts);
        } else if (const auto* selector = propsOf<ComboBoxProps>(e)) {
            made = child(window, L"COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, i, 160);
            font = fontFor(selector->font, fonts);
            SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            for (std::size_t item = 0; item < selector->itemCount; ++item) {
                SendMessageW(made, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(selector->items[item]).c_str()));
            }
            SendMessageW(made, CB_SETCURSEL, static_cast<WPARAM>(selector->selection), 0);
            continue;
        }
        if (made != nullptr) SendMessageW(made, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ShowWindow(window, SW_SHOWNORMAL);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
