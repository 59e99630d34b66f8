// One window procedure for every window class of the program: the C++ object that
// handles a window's messages arrives through lpCreateParams and is kept in
// GWLP_USERDATA, so no handler needs a static of its own.
#pragma once

#include <windows.h>

class MessageHandler {
public:
    virtual LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~MessageHandler() = default;
};

struct WindowClassArgs {
    const wchar_t* name;
    HBRUSH background = nullptr;  // null: the window paints everything itself
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

// Registers the class once per process (later calls find it registered).
bool registerWindowClass(const WindowClassArgs& args);
