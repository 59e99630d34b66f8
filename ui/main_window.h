// The main window, built from the window description: a fixed-size top-level
// window with a dialog frame and a close box only, centred on the screen, holding
// every control of the description with its nesting, stacking and focus order.
// The window handles Tab, Shift+Tab and Esc for all its controls through a
// keyboard hook, so it sees each key press before the focused control does.
#pragma once

#include "ui/control.h"
#include "ui/window_class.h"

#include <memory>
#include <vector>

// What the window reports to the runtime layer.
class WindowEvents {
public:
    virtual void raise(std::size_t entry, Event event) = 0;
    // The window's final destruction.
    virtual void destroyed() = 0;

protected:
    ~WindowEvents() = default;
};

class MainWindow : private MessageHandler, private ControlSite {
public:
    // The window keeps the layout it is built from for its whole life.
    MainWindow(ResolvedLayout layout, WindowEvents& events, DWORD guiThread);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Creates the window hidden with every control; false when any part fails.
    bool build();
    // Null once the window has been destroyed.
    HWND hwnd() const { return hwnd_; }
    void show();
    Control* control(std::size_t entry) const;

private:
    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;
    void raise(std::size_t entry, Event event) override;
    void paintBeneath(std::size_t entry, HDC dc) override;
    bool forwardNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool takePrepared(std::size_t entry, PreparedParts& parts) override;

    bool buildWindows();
    bool createControls();
    bool createChildren(int parent, HWND parentWindow);
    void appendCreationOrder(int parent, std::vector<std::size_t>& order) const;
    std::vector<std::size_t> computeFocusOrder() const;
    bool paintChildrenBelow(int parent, std::size_t stop, HDC dc, const RECT& target);
    void computeWindowRects();
    Control* controlFor(HWND hwnd) const;

    friend LRESULT CALLBACK keyboardHook(int code, WPARAM key, LPARAM flags);
    bool onKeyDown(WPARAM key, LPARAM flags);
    void moveFocus(int step);
    void restoreFocus();

    const ResolvedLayout layout_;
    WindowEvents& events_;
    const DWORD guiThread_;
    HWND hwnd_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;  // by entry index; none for the window
    std::vector<RECT> windowRects_;  // by entry: the control's rectangle in the window's client area
    std::vector<std::size_t> focusOrder_;
    int rememberedFocus_ = -1;  // entry that had the focus when the window was deactivated
    HHOOK keyboardHook_ = nullptr;
    std::unique_ptr<Preparation> preparation_;  // while the window is being built
};
