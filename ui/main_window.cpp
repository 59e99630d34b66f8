#include "ui/main_window.h"

#include "ui/text.h"
#include "ui/timeline.h"

#include <algorithm>
#include <utility>

namespace {

const wchar_t kClassName[] = L"VantorMainWindow";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// The window whose keyboard hook is installed. A hook procedure has no context of
// its own, and the program has exactly one main window.
MainWindow* keyboardWindow = nullptr;

}  // namespace

LRESULT CALLBACK keyboardHook(int code, WPARAM key, LPARAM flags) {
    const bool pressed = (flags & (LPARAM{1} << 31)) == 0;
    if (code == HC_ACTION && pressed && keyboardWindow != nullptr && keyboardWindow->onKeyDown(key, flags)) return 1;
    return CallNextHookEx(nullptr, code, key, flags);
}

MainWindow::MainWindow(ResolvedLayout layout, WindowEvents& events, DWORD guiThread)
    : layout_(std::move(layout)), events_(events), guiThread_(guiThread) {}

MainWindow::~MainWindow() {
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    if (keyboardHook_ != nullptr) UnhookWindowsHookEx(keyboardHook_);
    if (keyboardWindow == this) keyboardWindow = nullptr;
}

bool MainWindow::build() {
    // The controls' pictures and fonts are prepared on a second thread while this
    // one makes the windows; the thread has ended when build returns.
    std::vector<std::size_t> order;
    appendCreationOrder(0, order);
    preparation_ = std::make_unique<Preparation>(*layout_.description, std::move(order));
    if (!preparation_->start()) return false;
    const bool built = buildWindows();
    preparation_.reset();
    return built;
}

bool MainWindow::buildWindows() {
    const ControlEntry& entry = layout_.description->entries[0];
    const auto& props = *propsOf<WindowProps>(entry);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto icon = [instance](int metric) {
        int size = GetSystemMetrics(metric);
        return static_cast<HICON>(LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, size, size, LR_SHARED));
    };
    HICON large = icon(SM_CXICON), small = icon(SM_CXSMICON);
    if (!registerWindowClass({.name = kClassName,
                              .background = props.background.buttonFace ? GetSysColorBrush(COLOR_BTNFACE) : nullptr,
                              .icon = large,
                              .smallIcon = small})) {
        return false;
    }
    const int x = (GetSystemMetrics(SM_CXSCREEN) - entry.width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - entry.height) / 2;
    hwnd_ = CreateWindowExW(0, kClassName, widen(props.title).c_str(), kWindowStyle, x, y, entry.width, entry.height,
                            nullptr, nullptr, instance, static_cast<MessageHandler*>(this));
    if (hwnd_ == nullptr) return false;
    markStep("window made");
    RECT outer;
    GetWindowRect(hwnd_, &outer);
    if (outer.right - outer.left != entry.width || outer.bottom - outer.top != entry.height) {
        SetWindowPos(hwnd_, nullptr, x, y, entry.width, entry.height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    if (!createControls()) return false;
    focusOrder_ = computeFocusOrder();
    computeWindowRects();
    keyboardHook_ = SetWindowsHookExW(WH_KEYBOARD, keyboardHook, nullptr, guiThread_);
    if (keyboardHook_ == nullptr) return false;
    keyboardWindow = this;
    return true;
}

// Each control is made straight inside its parent, parents before their children
// and siblings in description order. A new child window goes below the siblings
// made before it, so the first of them in description order lies on top and each
// later one directly below the one before it; nothing is moved or restacked after.
bool MainWindow::createControls() {
    const WindowDescription& d = *layout_.description;
    controls_.resize(d.count);
    if (!createChildren(0, hwnd_)) return false;
    // An entry whose chain of parents never reaches the window was not made.
    for (std::size_t i = 1; i < d.count; ++i) {
        if (controls_[i] == nullptr) return false;
    }
    return true;
}

bool MainWindow::createChildren(int parent, HWND parentWindow) {
    const WindowDescription& d = *layout_.description;
    for (std::size_t i = 1; i < d.count; ++i) {
        if (layout_.parents[i] != parent) continue;
        // Stored before the window exists: notifications arrive during creation.
        controls_[i] = makeControl({d.entries[i], i, *this});
        if (controls_[i] == nullptr || !controls_[i]->create(parentWindow)) return false;
        markStep("control made", d.entries[i].name);
        if (!createChildren(static_cast<int>(i), controls_[i]->hwnd())) return false;
    }
    return true;
}

// The entries in the order createChildren makes their controls.
void MainWindow::appendCreationOrder(int parent, std::vector<std::size_t>& order) const {
    for (std::size_t i = 1; i < layout_.description->count; ++i) {
        if (layout_.parents[i] != parent) continue;
        order.push_back(i);
        appendCreationOrder(static_cast<int>(i), order);
    }
}

bool MainWindow::takePrepared(std::size_t entry, PreparedParts& parts) {
    return preparation_ != nullptr && preparation_->take(entry, parts);
}

// Visible, enabled tab stops by focus rank; at equal rank in reverse description order.
std::vector<std::size_t> MainWindow::computeFocusOrder() const {
    std::vector<std::size_t> order;
    for (std::size_t i = controls_.size(); i-- > 1;) {
        const ControlEntry& e = controls_[i]->entry();
        if (e.visible && e.enabled && e.tabStop) order.push_back(i);
    }
    std::stable_sort(order.begin(), order.end(), [this](std::size_t a, std::size_t b) {
        return controls_[a]->entry().focusRank < controls_[b]->entry().focusRank;
    });
    return order;
}

void MainWindow::show() {
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
}

Control* MainWindow::control(std::size_t entry) const {
    return entry < controls_.size() ? controls_[entry].get() : nullptr;
}

Control* MainWindow::controlFor(HWND hwnd) const {
    for (const auto& c : controls_) {
        if (c != nullptr && c->owns(hwnd)) return c.get();
    }
    return nullptr;
}

void MainWindow::raise(std::size_t entry, Event event) {
    events_.raise(entry, event);
}

bool MainWindow::forwardNotification(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    Control* target = nullptr;
    if (message == WM_DRAWITEM || message == WM_MEASUREITEM) {
        target = wParam >= 100 ? control(static_cast<std::size_t>(wParam - 100)) : nullptr;
    } else {
        target = controlFor(reinterpret_cast<HWND>(lParam));
    }
    return target != nullptr && target->onNotification(message, wParam, lParam, result);
}

// Nothing moves a control after the window is built, so each rectangle is known
// once the controls are in place.
void MainWindow::computeWindowRects() {
    windowRects_.assign(controls_.size(), RECT{});
    for (std::size_t i = 1; i < controls_.size(); ++i) {
        GetWindowRect(controls_[i]->hwnd(), &windowRects_[i]);
        MapWindowPoints(HWND_DESKTOP, hwnd_, reinterpret_cast<POINT*>(&windowRects_[i]), 2);
    }
}

// From the bottom of the stacking order up: the window's background, then every
// visible control that meets the target, lower before higher and each before its
// own children, stopping at the control being painted.
void MainWindow::paintBeneath(std::size_t entry, HDC dc) {
    const RECT& target = windowRects_[entry];
    {
        SavedDcState saved(dc);
        SetViewportOrgEx(dc, -target.left, -target.top, nullptr);
        FillRect(dc, &target, GetSysColorBrush(COLOR_BTNFACE));
    }
    paintChildrenBelow(0, entry, dc, target);
}

bool MainWindow::paintChildrenBelow(int parent, std::size_t stop, HDC dc, const RECT& target) {
    for (std::size_t i = controls_.size(); i-- > 1;) {
        if (layout_.parents[i] != parent) continue;
        if (i == stop) return true;
        const Control& c = *controls_[i];
        if (!c.entry().visible) continue;
        const RECT& r = windowRects_[i];
        RECT common;
        if (IntersectRect(&common, &r, &target)) {
            SavedDcState saved(dc);
            SetViewportOrgEx(dc, r.left - target.left, r.top - target.top, nullptr);
            IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
            c.paintContent(dc);
        }
        if (paintChildrenBelow(static_cast<int>(i), stop, dc, target)) return true;
    }
    return false;
}

bool MainWindow::onKeyDown(WPARAM key, LPARAM flags) {
    HWND focus = GetFocus();
    if (focus == nullptr || (focus != hwnd_ && !IsChild(hwnd_, focus))) return false;
    const bool alt = (flags & (LPARAM{1} << 29)) != 0 || GetKeyState(VK_MENU) < 0;
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    if (alt || ctrl) return false;
    if (key == VK_TAB) {
        moveFocus(shift ? -1 : 1);
        return true;
    }
    if (key == VK_ESCAPE && !shift && propsOf<WindowProps>(layout_.description->entries[0])->escapeCloses) {
        PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    return false;
}

void MainWindow::moveFocus(int step) {
    if (focusOrder_.empty()) return;
    const int count = static_cast<int>(focusOrder_.size());
    int current = controlIndexOf(GetFocus());
    auto at = std::find(focusOrder_.begin(), focusOrder_.end(), static_cast<std::size_t>(current));
    int next = at == focusOrder_.end() ? (step > 0 ? 0 : count - 1)
                                       : (static_cast<int>(at - focusOrder_.begin()) + step + count) % count;
    SetFocus(controls_[focusOrder_[static_cast<std::size_t>(next)]]->hwnd());
}

void MainWindow::restoreFocus() {
    Control* remembered = rememberedFocus_ > 0 ? control(static_cast<std::size_t>(rememberedFocus_)) : nullptr;
    if (remembered != nullptr && IsWindow(remembered->hwnd())) {
        SetFocus(remembered->hwnd());
    } else if (!focusOrder_.empty()) {
        SetFocus(controls_[focusOrder_.front()]->hwnd());
    }
}

LRESULT MainWindow::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    switch (message) {
    case WM_GETMINMAXINFO: {
        // The platform limits a top-level window to the screen plus its frame; the
        // window keeps its size on a smaller screen too (540 x 562 on 640 x 480).
        // The first request comes before the handler is attached; build() then sets
        // the size again, which asks again.
        const ControlEntry& entry = layout_.description->entries[0];
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        limits->ptMaxTrackSize.x = std::max(limits->ptMaxTrackSize.x, static_cast<LONG>(entry.width));
        limits->ptMaxTrackSize.y = std::max(limits->ptMaxTrackSize.y, static_cast<LONG>(entry.height));
        return 0;
    }
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus != nullptr && IsChild(hwnd, focus)) rememberedFocus_ = controlIndexOf(focus);
        }
        break;
    case WM_SETFOCUS:
        restoreFocus();
        return 0;
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        if (forwardNotification(message, wParam, lParam, result)) return result;
        break;
    case WM_DESTROY:
        if (keyboardHook_ != nullptr) UnhookWindowsHookEx(keyboardHook_);
        keyboardHook_ = nullptr;
        keyboardWindow = nullptr;
        break;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        events_.destroyed();
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}
