#include "ui/window_class.h"

namespace {

LRESULT CALLBACK dispatchToHandler(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* handler = reinterpret_cast<MessageHandler*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (handler == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = handler->handleMessage(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return result;
}

}  // namespace

bool registerWindowClass(const WindowClassArgs& args) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, args.name, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = dispatchToHandler;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    wc.hbrBackground = args.background;
    wc.hIcon = args.icon;
    wc.hIconSm = args.smallIcon;
    wc.lpszClassName = args.name;
    return RegisterClassExW(&wc) != 0;
}
