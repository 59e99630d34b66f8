// The main window of the real program as a user sees it: frame, position, the
// control tree, keyboard focus, the pixels on the screen, and the executable's
// version record and icon.
#include "tests/win/support.h"

#include "ui/picture.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <type_traits>

namespace {

constexpr DWORD kTimeout = 20000;
constexpr DWORD kFocusTimeout = 3000;

// A started program whose main window is shown and idle.
struct Shown {
    explicit Shown(const std::wstring& exe) : program(exe) {
        if (!program.started()) return;
        window = program.waitForWindow(kMainClass, kTimeout);
        if (window != nullptr) program.waitIdle();
    }
    Launched program;
    HWND window = nullptr;
};

// ---- the control tree ----

constexpr wchar_t kWindow[] = L"窗口";

struct ControlRow {
    const wchar_t* name;
    const wchar_t* cls;
    const wchar_t* parent;         // kWindow or a panel
    int left, top, width, height;  // height 0: not checked (a selector's field)
    bool tabStop;
};

constexpr wchar_t kLabelClass[] = L"VantorTransLabel";
constexpr wchar_t kButtonClass[] = L"Button";
constexpr wchar_t kSelectorClass[] = L"ComboBox";
constexpr wchar_t kPanelClass[] = L"VantorPicBox";

// Entries the tests name on their own.
constexpr wchar_t kLevel[] = L"等级";
constexpr wchar_t kKind[] = L"种类";
constexpr wchar_t kQuery[] = L"按钮1";
constexpr wchar_t kGuides[] = L"按钮4";
constexpr wchar_t kPanel2[] = L"图片框2";

// Panels first: their children are looked up inside them.
constexpr ControlRow kControls[] = {
    {L"图片框3", kPanelClass, kWindow, -1, 266, 540, 120, false},
    {L"图片框2", kPanelClass, kWindow, -1, 88, 540, 178, false},
    {L"图片框1", kPanelClass, kWindow, -1, 0, 540, 88, false},
    {L"图片框4", kPanelClass, kWindow, -1, 321, 540, 214, false},
    {L"透明标签3", kLabelClass, L"图片框2", 65, 25, 400, 63, false},
    {L"按钮4", kButtonClass, kWindow, 200, 400, 144, 80, true},
    {L"按钮3", kButtonClass, kWindow, 344, 400, 144, 80, true},
    {L"按钮2", kButtonClass, L"图片框4", 57, 79, 144, 80, true},
    {L"元素3", kLabelClass, L"图片框3", 281, 62, 88, 32, false},
    {L"元素2", kLabelClass, L"图片框3", 353, 14, 72, 24, false},
    {L"元素1", kLabelClass, L"图片框3", 183, 14, 72, 24, false},
    {L"透明标签2", kLabelClass, L"图片框3", 265, 14, 98, 24, false},
    {L"透明标签1", kLabelClass, L"图片框3", 95, 14, 98, 24, false},
    {L"按钮1", kButtonClass, L"图片框2", 337, 96, 128, 65, true},
    {L"种类", kSelectorClass, kWindow, 187, 227, 116, 0, true},
    {L"等级", kSelectorClass, L"图片框2", 188, 96, 116, 0, true},
};

// The program's windows by entry name, found by class and position in their parent.
class Tree {
public:
    explicit Tree(HWND window) {
        hwnds_[kWindow] = window;
        for (const ControlRow& row : kControls) {
            HWND parent = (*this)[row.parent];
            hwnds_[row.name] = parent != nullptr ? findControl(parent, row.cls, row.left, row.top) : nullptr;
        }
    }
    HWND operator[](const std::wstring& name) const {
        auto at = hwnds_.find(name);
        return at != hwnds_.end() ? at->second : nullptr;
    }
    std::wstring nameOf(HWND hwnd) const {
        if (hwnd == nullptr) return L"(none)";
        for (const auto& [name, h] : hwnds_) {
            if (h == hwnd) return name;
        }
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        return std::wstring(L"(unknown ") + cls + L")";
    }

private:
    std::map<std::wstring, HWND> hwnds_;
};

std::wstring join(const std::vector<std::wstring>& names) {
    std::wstring out;
    for (const auto& name : names) out += (out.empty() ? L"" : L", ") + name;
    return L"[" + out + L"]";
}

// ---- focus and windows ----

// Waits until the program's focus is on `expected`, at most `wait` milliseconds; the
// focus it ends with.
HWND waitForFocus(HWND window, HWND expected, DWORD wait = kFocusTimeout) {
    DWORD start = GetTickCount();
    HWND focus = focusedWindowOf(window);
    while (focus != expected && GetTickCount() - start < wait) {
        Sleep(20);
        focus = focusedWindowOf(window);
    }
    return focus;
}

// The active window, for failures that depend on the activation.
std::wstring activeWindow(DWORD programPid) {
    HWND active = GetForegroundWindow();
    if (active == nullptr) return L"no window is active";
    DWORD pid = 0;
    GetWindowThreadProcessId(active, &pid);
    wchar_t cls[64] = {};
    GetClassNameW(active, cls, 64);
    return std::wstring(L"the active window is a ") + cls +
           (pid == programPid ? L" of the program" : L" of another process");
}

// Whether the program's focus is on the control `name`, or comes to it within
// `wait` milliseconds.
testing::AssertionResult focusIsOn(const Shown& shown, const Tree& tree, const wchar_t* name,
                                   DWORD wait = kFocusTimeout) {
    HWND expected = tree[name];
    HWND focus = waitForFocus(shown.window, expected, wait);
    if (expected != nullptr && focus == expected) return testing::AssertionSuccess();
    return testing::AssertionFailure() << L"expected the focus on " << name << L", got " << tree.nameOf(focus) << L"; "
                                       << activeWindow(shown.program.pid());
}

BOOL CALLBACK collectTopLevel(HWND hwnd, LPARAM windows) {
    if (IsWindowVisible(hwnd)) reinterpret_cast<std::set<HWND>*>(windows)->insert(hwnd);
    return TRUE;
}

std::set<HWND> visibleTopLevelWindows() {
    std::set<HWND> windows;
    EnumWindows(collectTopLevel, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// A top-level window of the test itself, to take the activation away from the program.
class OwnWindow {
public:
    OwnWindow(int x, int y, int width, int height, DWORD style, DWORD exStyle = 0) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        wc.lpszClassName = L"WindowTestOwnWindow";
        RegisterClassW(&wc);
        hwnd_ = CreateWindowExW(exStyle, wc.lpszClassName, L"", style, x, y, width, height, nullptr, nullptr,
                                wc.hInstance, nullptr);
    }
    ~OwnWindow() {
        if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    }
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// ---- pixels ----

bool loadPicture(const char* file, RgbImage& image) {
    std::ifstream in(assetPath(file), std::ios::binary);
    std::vector<std::uint8_t> data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    return !data.empty() && decodeJpeg(data.data(), data.size(), image);
}

std::uint32_t buttonFace() {
    COLORREF c = GetSysColor(COLOR_BTNFACE);
    return rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// The panels from the top of the stacking order down, with their pictures.
struct PanelArt {
    int top, height;
    const char* file;  // null: the picture does not decode, the button face shows
};

// What the client area shows where no control covers it: for each pixel, the
// picture of the highest panel there (client x = picture x - 1), else the button face.
class ExpectedClient {
public:
    explicit ExpectedClient(std::vector<PanelArt> panels) : panels_(std::move(panels)) {
        for (const PanelArt& p : panels_) {
            RgbImage image;
            if (p.file != nullptr) {
                EXPECT_TRUE(loadPicture(p.file, image)) << "cannot decode " << p.file;
            }
            pictures_.push_back(std::move(image));
        }
    }
    std::uint32_t at(int x, int y) const {
        for (std::size_t i = 0; i < panels_.size(); ++i) {
            const PanelArt& p = panels_[i];
            if (y < p.top || y >= p.top + p.height) continue;
            const RgbImage& picture = pictures_[i];
            const int px = x + 1, py = y - p.top;
            if (px >= picture.width || py >= picture.height) return buttonFace();
            const std::uint8_t* c = &picture.rgb[3 * (static_cast<std::size_t>(py) * picture.width + px)];
            return rgb(c[0], c[1], c[2]);
        }
        return buttonFace();
    }

private:
    std::vector<PanelArt> panels_;
    std::vector<RgbImage> pictures_;
};

const std::vector<PanelArt> kPanelArt = {
    {266, 120, "panel3.jpg"}, {88, 178, "panel2.jpg"}, {0, 88, "panel1.jpg"}, {321, 214, "panel4.jpg"}};

BOOL CALLBACK collectCovering(HWND hwnd, LPARAM parameter) {
    auto* search = reinterpret_cast<std::pair<HWND, std::vector<RECT>>*>(parameter);
    if (className(hwnd) != "VantorPicBox" && IsWindowVisible(hwnd))
        search->second.push_back(rectIn(hwnd, search->first));
    return TRUE;
}

// The rectangles, in the window's client area, of every control that is not a panel.
std::vector<RECT> controlRects(HWND window) {
    std::pair<HWND, std::vector<RECT>> search{window, {}};
    EnumChildWindows(window, collectCovering, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

// Compares the screen with the expected client area outside `covered`; an empty
// string when they agree, else how they differ.
std::string compareClient(const Screenshot& shot, const ExpectedClient& expected, const std::vector<RECT>& covered) {
    long compared = 0, different = 0;
    int worst = 0;
    std::ostringstream first;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            POINT p{x, y};
            bool hidden = false;
            for (const RECT& r : covered) hidden = hidden || PtInRect(&r, p);
            if (hidden) continue;
            ++compared;
            const std::uint32_t want = expected.at(x, y), got = shot.at(x, y);
            if (want == got) continue;
            if (different++ < 5) {
                char line[96];
                std::snprintf(line, sizeof line, " (%d,%d) expected %06X, got %06X;", x, y, want, got);
                first << line;
            }
            worst = std::max(worst, colourDistance(want, got));
        }
    }
    if (different == 0 && compared > 0) return {};
    std::ostringstream out;
    out << different << " of " << compared << " pixels differ, largest channel difference " << worst << ":"
        << first.str();
    return out.str();
}

// ---- one program shown for the tests that only look ----

class WindowShown : public testing::Test {
protected:
    static void SetUpTestSuite() { shown_ = std::make_unique<Shown>(programPath()); }
    static void TearDownTestSuite() { shown_.reset(); }
    void SetUp() override { ASSERT_NE(shown_->window, nullptr) << "no main window"; }
    static HWND window() { return shown_->window; }
    static std::unique_ptr<Shown> shown_;
};
std::unique_ptr<Shown> WindowShown::shown_;

TEST_F(WindowShown, HasItsTitleAndOuterSize) {
    const std::string title = textGbk(window());
    EXPECT_EQ(title, "Vantor打野布阵查询V2.0 bbs.vantor.example") << "got " << hexBytes(title);
    RECT r;
    GetWindowRect(window(), &r);
    EXPECT_EQ(r.right - r.left, 540);
    EXPECT_EQ(r.bottom - r.top, 562);
}

TEST_F(WindowShown, HasACaptionWithSystemMenuAndCloseBoxOnly) {
    const LONG_PTR style = GetWindowLongPtrW(window(), GWL_STYLE);
    const LONG_PTR exStyle = GetWindowLongPtrW(window(), GWL_EXSTYLE);
    EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
    EXPECT_NE(style & WS_SYSMENU, 0);
    EXPECT_EQ(style & WS_THICKFRAME, 0);
    EXPECT_EQ(style & WS_MINIMIZEBOX, 0);
    EXPECT_EQ(style & WS_MAXIMIZEBOX, 0);
    EXPECT_EQ(exStyle & WS_EX_TOPMOST, 0);
    EXPECT_EQ(exStyle & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetMenu(window()), nullptr);
    EXPECT_EQ(GetWindow(window(), GW_OWNER), nullptr);
}

TEST_F(WindowShown, FrameCannotBeDraggedToResize) {
    RECT r;
    GetWindowRect(window(), &r);
    const int midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
    const POINT edges[] = {{r.left, midY},  {r.right - 1, midY},  {midX, r.bottom - 1},   {midX, r.top},
                           {r.left, r.top}, {r.right - 1, r.top}, {r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}};
    for (POINT p : edges) {
        LRESULT hit = SendMessageW(window(), WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y));
        EXPECT_TRUE(hit < HTLEFT || hit > HTBOTTOMRIGHT)
            << "expected no sizing code at screen (" << p.x << "," << p.y << "), got " << hit;
    }
}

// Wine does not hand out another process's class brush (GetClassLongPtr gives 0), so
// the class background is seen where it shows: the client rows below the panels, which
// end at y 534. Where this Wine's caption and frame leave no such rows (Wine 10's frame
// metrics give a client area of 534 x 530), the window's frame is taken away, so that
// the same 540 x 562 window has a client area that reaches below the panels.
TEST(WindowBackground, ShowsTheButtonFaceBelowThePanels) {
    constexpr int kPanelsEnd = 535;
    Shown shown(programPath());
    ASSERT_NE(shown.window, nullptr) << "no main window";
    RECT client;
    GetClientRect(shown.window, &client);
    if (client.bottom <= kPanelsEnd) {
        const LONG_PTR style = GetWindowLongPtrW(shown.window, GWL_STYLE);
        SetWindowLongPtrW(shown.window, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_CAPTION));
        SetWindowPos(shown.window, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(shown.window, &client);
        RecordProperty("frame_removed", 1);
    }
    const Screenshot shot = captureSettled(shown.window);
    ASSERT_GT(shot.height, kPanelsEnd) << "no client rows below the panels";
    int different = 0;
    for (int y = kPanelsEnd; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) different += shot.at(x, y) != buttonFace();
    }
    EXPECT_EQ(different, 0) << "expected the button face below y 534";
}

TEST_F(WindowShown, ControlsHaveTheirClassParentRectangleAndStyles) {
    Tree tree(window());
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(testing::Message() << "control " << row.name);
        HWND hwnd = tree[row.name];
        ASSERT_NE(hwnd, nullptr) << "no " << row.cls << " at " << row.left << "," << row.top << " in " << row.parent;
        EXPECT_EQ(GetAncestor(hwnd, GA_PARENT), tree[row.parent])
            << "parent " << tree.nameOf(GetAncestor(hwnd, GA_PARENT));
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        EXPECT_EQ(std::wstring(cls), row.cls);
        RECT r;
        GetWindowRect(hwnd, &r);
        EXPECT_EQ(r.right - r.left, row.width);
        if (row.height != 0) {
            EXPECT_EQ(r.bottom - r.top, row.height);
        }
        const LONG_PTR style = GetWindowLongPtrW(hwnd, GWL_STYLE);
        EXPECT_NE(style & WS_CLIPSIBLINGS, 0) << "expected WS_CLIPSIBLINGS";
        EXPECT_EQ((style & WS_TABSTOP) != 0, row.tabStop);
        EXPECT_TRUE(IsWindowVisible(hwnd));
    }
}

// The selectors' dropped-down size is 116 x 160. Windows reports that whole rectangle
// for CB_GETDROPPEDCONTROLRECT; Wine reports the list part only, as measured when the
// selector was made (136 for a plain 116 x 160 drop-down list), so the program's
// selectors are compared with a plain drop-down list of that size made here.
TEST_F(WindowShown, SelectorsDropDownToTheirSize) {
    OwnWindow holder(0, 0, 200, 200, WS_POPUP);
    HWND plain = CreateWindowExW(0, L"COMBOBOX", L"", WS_CHILD | CBS_DROPDOWNLIST | WS_VSCROLL, 0, 0, 116, 160,
                                 holder.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(plain, nullptr);
    RECT reference{};
    SendMessageW(plain, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&reference));
    Tree tree(window());
    for (const wchar_t* name : {L"种类", L"等级"}) {
        ASSERT_NE(tree[name], nullptr) << name;
        RECT dropped{};
        SendMessageW(tree[name], CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
        EXPECT_EQ(dropped.right - dropped.left, 116) << name;
        EXPECT_EQ(dropped.bottom - dropped.top, reference.bottom - reference.top)
            << name << ": expected the height a 160-pixel drop-down list reports";
    }
}

TEST_F(WindowShown, SiblingsStackInDescriptionOrder) {
    Tree tree(window());
    const std::pair<const wchar_t*, std::vector<std::wstring>> stacks[] = {
        {kWindow, {L"按钮4", L"按钮3", L"种类", L"图片框3", L"图片框2", L"图片框1", L"图片框4"}},
        {L"图片框2", {L"透明标签3", L"按钮1", L"等级"}},
        {L"图片框3", {L"元素3", L"元素2", L"元素1", L"透明标签2", L"透明标签1"}},
        {L"图片框4", {L"按钮2"}},
        {L"图片框1", {}},
    };
    for (const auto& [parent, expected] : stacks) {
        ASSERT_NE(tree[parent], nullptr) << parent;
        std::vector<std::wstring> actual;
        for (HWND h = GetWindow(tree[parent], GW_CHILD); h != nullptr; h = GetWindow(h, GW_HWNDNEXT)) {
            actual.push_back(tree.nameOf(h));
        }
        EXPECT_TRUE(actual == expected) << "children of " << parent << ", top first: expected " << join(expected)
                                        << ", got " << join(actual);
    }
}

TEST_F(WindowShown, FocusStartsOnTheLevelSelector) {
    EXPECT_TRUE(focusIsOn(*shown_, Tree(window()), kLevel, 0));
}

TEST_F(WindowShown, ClientShowsThePanelPicturesWhereNoControlCovers) {
    Screenshot shot = captureSettled(window());
    // Every panel shows at least in part: the lowest starts at y 321. How far the client
    // area reaches below that is the frame's business (Wine 8: to 535, Wine 10: to 530).
    ASSERT_GE(shot.width, 530);
    ASSERT_GT(shot.height, 321);
    std::string difference = compareClient(shot, ExpectedClient(kPanelArt), controlRects(window()));
    EXPECT_EQ(difference, "");
}

// A caption like the program's, on a window of the test: same frame and title, with
// the given icons from the class.
class CaptionWindow {
public:
    CaptionWindow(const wchar_t* cls, HICON large, HICON small) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hIcon = large;
        wc.hIconSm = small;
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = cls;
        RegisterClassExW(&wc);
        hwnd_ = CreateWindowExW(0, cls, L"Vantor打野布阵查询V2.0 bbs.vantor.example",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 200, 80, nullptr, nullptr, wc.hInstance,
                                nullptr);
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        pumpMessages(300);
    }
    ~CaptionWindow() { DestroyWindow(hwnd_); }
    CaptionWindow(const CaptionWindow&) = delete;
    CaptionWindow& operator=(const CaptionWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// The left end of a window's caption bar (frame included): its icon and the start of its title.
Screenshot captionStart(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    POINT client{0, 0};
    ClientToScreen(hwnd, &client);
    return captureScreen(RECT{r.left, r.top, r.left + 48, client.y});
}

// Wine 8 answers a WM_GETICON from another process with 0, also for a window that
// has both icons (and GetClassLongPtr gives 0 for another process's class), so the
// icons are checked where a user sees one: the small icon at the left of the caption.
// It must look like the caption of a window made here with the program file's
// icon, and unlike one with the default icon. Last of the suite: it takes the
// activation away from the program for a while.
TEST_F(WindowShown, ShowsTheProgramIconInItsCaption) {
    ASSERT_EQ(GetForegroundWindow(), window()) << "the program's window is not active";
    const Screenshot program = captionStart(window());
    HMODULE file = LoadLibraryExW(programPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    auto icon = [file](int size) {
        return static_cast<HICON>(LoadImageW(file, L"DEFAULT_ICON", IMAGE_ICON, size, size, 0));
    };
    HICON large = icon(32), small = icon(16);
    ASSERT_TRUE(large != nullptr && small != nullptr) << "cannot load DEFAULT_ICON from the program file";
    Screenshot withIcon, withoutIcon;
    {
        CaptionWindow reference(L"WindowTestIconCaption", large, small);
        withIcon = captionStart(reference.hwnd());
    }
    {
        CaptionWindow reference(L"WindowTestPlainCaption", nullptr, nullptr);
        withoutIcon = captionStart(reference.hwnd());
    }
    DestroyIcon(large);
    DestroyIcon(small);
    FreeLibrary(file);
    SetForegroundWindow(window());
    DWORD start = GetTickCount();
    while (GetForegroundWindow() != window() && GetTickCount() - start < kFocusTimeout) Sleep(20);
    shown_->program.waitIdle();

    ASSERT_EQ(program.height, withIcon.height) << "captions of different heights";
    EXPECT_TRUE(program.pixels == withIcon.pixels) << "the caption does not show the program's icon";
    EXPECT_FALSE(withoutIcon.pixels == withIcon.pixels) << "the icon cannot be told from the default one";
}

// ---- keyboard focus ----

TEST(WindowFocus, TabCyclesThroughTheTabStopsAndShiftTabGoesBack) {
    Shown shown(programPath());
    ASSERT_NE(shown.window, nullptr);
    Tree tree(shown.window);
    ASSERT_TRUE(focusIsOn(shown, tree, kLevel));
    for (const wchar_t* next : {L"种类", L"按钮1", L"按钮2", L"按钮3", L"按钮4", L"等级"}) {
        pressKey(VK_TAB);
        ASSERT_TRUE(focusIsOn(shown, tree, next)) << "after Tab";
    }
    pressKey(VK_TAB, true);
    EXPECT_TRUE(focusIsOn(shown, tree, kGuides)) << "after Shift+Tab";
}

TEST(WindowFocus, EscapeOnASelectorClosesTheWindowWithExitCodeZero) {
    const std::pair<const wchar_t*, int> cases[] = {{kLevel, 0}, {kKind, 1}};  // selector, Tabs to reach it
    for (const auto& [selector, tabs] : cases) {
        SCOPED_TRACE(testing::Message() << L"Esc on " << selector);
        Shown shown(programPath());
        ASSERT_NE(shown.window, nullptr);
        Tree tree(shown.window);
        ASSERT_TRUE(focusIsOn(shown, tree, kLevel));
        for (int i = 0; i < tabs; ++i) pressKey(VK_TAB);
        ASSERT_TRUE(focusIsOn(shown, tree, selector));
        pressKey(VK_ESCAPE);
        EXPECT_EQ(shown.program.waitForExit(kTimeout), 0u);
    }
}

TEST(WindowFocus, IsRememberedAcrossDeactivation) {
    Shown shown(programPath());
    ASSERT_NE(shown.window, nullptr);
    Tree tree(shown.window);
    ASSERT_TRUE(focusIsOn(shown, tree, kLevel));
    pressKey(VK_TAB);
    pressKey(VK_TAB);
    ASSERT_TRUE(focusIsOn(shown, tree, kQuery));

    OwnWindow other(0, 0, 120, 80, WS_POPUP | WS_BORDER);
    ASSERT_NE(other.hwnd(), nullptr);
    ShowWindow(other.hwnd(), SW_SHOW);
    SetForegroundWindow(other.hwnd());
    pumpMessages(300);
    ASSERT_EQ(GetForegroundWindow(), other.hwnd()) << "the test's own window did not become active";
    HWND focus = waitForFocus(shown.window, nullptr);
    EXPECT_EQ(focus, nullptr) << L"expected no focus in the inactive program, got " << tree.nameOf(focus);

    SetForegroundWindow(shown.window);
    pumpMessages(300);
    ASSERT_EQ(GetForegroundWindow(), shown.window) << "the program's window was not reactivated";
    EXPECT_TRUE(focusIsOn(shown, tree, kQuery)) << "after reactivation";
}

// ---- mouse ----

TEST(WindowClicks, ClicksOnThePanelsChangeNothing) {
    Shown shown(programPath());
    ASSERT_NE(shown.window, nullptr);
    Tree tree(shown.window);
    const wchar_t* labels[] = {L"透明标签1", L"透明标签2", L"透明标签3", L"元素1", L"元素2", L"元素3"};
    std::map<std::wstring, std::string> textsBefore;
    for (const wchar_t* label : labels) {
        ASSERT_NE(tree[label], nullptr) << label;
        textsBefore[label] = textGbk(tree[label]);
    }
    const std::set<HWND> windowsBefore = visibleTopLevelWindows();
    const Screenshot before = captureSettled(shown.window);

    // The 专区 tab drawn in 图片框1, then a bare spot of every other panel.
    const POINT spots[] = {{30, 30}, {30, 150}, {30, 300}, {30, 500}};
    for (POINT spot : spots) {
        clickAt(shown.window, spot);
        Sleep(300);
        shown.program.waitIdle();
    }
    Sleep(500);

    EXPECT_EQ(shown.program.waitForExit(0), static_cast<DWORD>(STILL_ACTIVE)) << "the program ended";
    std::vector<std::wstring> appeared;
    for (HWND hwnd : visibleTopLevelWindows()) {
        if (windowsBefore.count(hwnd) != 0) continue;
        wchar_t cls[64] = {};
        GetClassNameW(hwnd, cls, 64);
        appeared.push_back(textWide(hwnd) + L" (" + cls + L")");
    }
    EXPECT_TRUE(appeared.empty()) << "new windows: " << join(appeared);
    for (const wchar_t* label : labels) {
        EXPECT_EQ(textGbk(tree[label]), textsBefore[label]) << label;
    }
    const Screenshot after = captureSettled(shown.window);
    ASSERT_EQ(after.pixels.size(), before.pixels.size());
    int changed = 0;
    RECT area{after.width, after.height, 0, 0};
    for (int y = 0; y < after.height; ++y) {
        for (int x = 0; x < after.width; ++x) {
            if (after.at(x, y) == before.at(x, y)) continue;
            ++changed;
            area = {std::min<LONG>(area.left, x), std::min<LONG>(area.top, y), std::max<LONG>(area.right, x + 1),
                    std::max<LONG>(area.bottom, y + 1)};
        }
    }
    EXPECT_EQ(changed, 0) << "the client area changed within (" << area.left << "," << area.top << ")-(" << area.right
                          << "," << area.bottom << "); " << activeWindow(shown.program.pid());
}

// ---- pictures that do not decode ----

TEST(WindowDamagedPictures, PanelPaintsButtonFaceKeepsItsControlsAndQueryButtonShowsItsCaption) {
    Shown shown(damagedProgramPath());
    ASSERT_NE(shown.window, nullptr);
    Tree tree(shown.window);
    for (const wchar_t* name : {L"图片框2", L"透明标签3", L"按钮1", L"等级"}) {
        ASSERT_NE(tree[name], nullptr) << L"no " << name;
        EXPECT_TRUE(IsWindowVisible(tree[name])) << name;
    }
    EXPECT_EQ(GetAncestor(tree[kQuery], GA_PARENT), tree[kPanel2]);
    const std::string caption = textGbk(tree[kQuery]);
    EXPECT_EQ(caption, "按钮") << "got " << hexBytes(caption);

    const Screenshot shot = captureSettled(shown.window);
    ExpectedClient expected(
        {{266, 120, "panel3.jpg"}, {88, 178, nullptr}, {0, 88, "panel1.jpg"}, {321, 214, "panel4.jpg"}});
    EXPECT_EQ(compareClient(shot, expected, controlRects(shown.window)), "");

    // The query button looks like a push button of that size with the caption 按钮
    // in the default GUI font, made here beside the program's window.
    RECT query = rectIn(tree[kQuery], shown.window);
    const int width = query.right - query.left, height = query.bottom - query.top;
    OwnWindow holder(0, 0, width, height, WS_POPUP, WS_EX_NOACTIVATE | WS_EX_TOPMOST);
    ASSERT_NE(holder.hwnd(), nullptr);
    HWND reference = CreateWindowExW(0, L"BUTTON", L"按钮", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 0, 0, width, height,
                                     holder.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(reference, nullptr);
    SendMessageW(reference, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    ShowWindow(holder.hwnd(), SW_SHOWNOACTIVATE);
    pumpMessages(300);
    const Screenshot want = captureClient(reference);
    int different = 0, worst = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t got = shot.at(query.left + x, query.top + y), w = want.at(x, y);
            if (got != w) ++different;
            worst = std::max(worst, colourDistance(got, w));
        }
    }
    EXPECT_EQ(different, 0) << L"expected 按钮1 to look like a push button captioned 按钮; " << different
                            << " pixels differ, largest channel difference " << worst;
    // Not a blank face: the caption's strokes differ from the button face.
    int strokes = 0;
    for (int y = 4; y < height - 4; ++y) {
        for (int x = 4; x < width - 4; ++x) {
            strokes += colourDistance(shot.at(query.left + x, query.top + y), buttonFace()) > 64;
        }
    }
    EXPECT_GT(strokes, 20) << L"expected the caption's strokes inside 按钮1";
}

// ---- position on the screen ----

TEST(WindowPosition, CentredOnTheScreenTruncatingTowardZero) {
    struct Case {
        int screenWidth, screenHeight, x, y;
    };
    constexpr Case cases[] = {{1024, 768, 242, 103}, {800, 600, 130, 19}, {640, 480, 50, -41}, {800, 561, 130, 0}};
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    // A run made for one screen size (see cmake/Testing.cmake) must get that screen.
    if (const char* wanted = std::getenv("WINE_DESKTOP"); wanted != nullptr && wanted[0] != '\0') {
        ASSERT_EQ(std::to_string(width) + "x" + std::to_string(height), wanted) << "the desktop has another size";
    }
    const Case* expected = nullptr;
    for (const Case& c : cases) {
        if (c.screenWidth == width && c.screenHeight == height) expected = &c;
    }
    if (expected == nullptr) GTEST_SKIP() << "no expected position for a " << width << "x" << height << " screen";

    Shown shown(programPath());
    ASSERT_NE(shown.window, nullptr);
    RECT r;
    GetWindowRect(shown.window, &r);
    EXPECT_EQ(r.left, expected->x) << "on " << width << "x" << height;
    EXPECT_EQ(r.top, expected->y) << "on " << width << "x" << height;
    EXPECT_EQ(r.right - r.left, 540);
    EXPECT_EQ(r.bottom - r.top, 562);
}

// ---- the executable's identity, read back from the files ----

struct Executable {
    const char* what;
    std::wstring (*path)();
    WORD machine;
};

void PrintTo(const Executable& executable, std::ostream* out) {
    *out << executable.what;
}

class WindowExecutableIdentity : public testing::TestWithParam<Executable> {};

std::wstring versionString(const std::vector<BYTE>& record, const wchar_t* name) {
    std::wstring path = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record.data(), path.c_str(), &value, &length) || value == nullptr) return L"(missing)";
    return static_cast<const wchar_t*>(value);
}

TEST_P(WindowExecutableIdentity, HasItsVersionRecord) {
    const std::wstring path = GetParam().path();
    ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES)
        << "missing " << path << " (the win32 preset builds the shipped program: cmake --build --preset win32)";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version record";
    std::vector<BYTE> record(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, record.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof *fixed);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));
    EXPECT_EQ(fixed->dwFileFlags, 0u);

    DWORD* translation = nullptr;
    ASSERT_TRUE(
        VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(LOWORD(*translation), 0x0804);
    EXPECT_EQ(HIWORD(*translation), 1200);

    const std::pair<const wchar_t*, std::string> strings[] = {{L"FileDescription", "Vantor辅助工具"},
                                                              {L"ProductName", "Vantor打野布阵查询工具"},
                                                              {L"FileVersion", "2.0.0.0"},
                                                              {L"ProductVersion", "2.0.0.0"}};
    for (const auto& [name, expected] : strings) {
        const std::string value = gbkOf(versionString(record, name));
        EXPECT_EQ(value, expected) << name << ": expected " << hexBytes(expected) << ", got " << hexBytes(value);
    }
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct IconGroup {
    WORD reserved, type, count;
    IconGroupEntry entries[1];
};
#pragma pack(pop)

TEST_P(WindowExecutableIdentity, IsBuiltForItsMachineWithOneSoftEdged16PixelIcon) {
    const std::wstring path = GetParam().path();
    ASSERT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES)
        << "missing " << path << " (the win32 preset builds the shipped program: cmake --build --preset win32)";
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << "cannot open " << path << " as data, error " << GetLastError();
    std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> release(module, FreeLibrary);

    // The machine the file is built for, from its headers.
    std::ifstream file(path.c_str(), std::ios::binary);
    std::vector<char> head(4096);
    file.read(head.data(), static_cast<std::streamsize>(head.size()));
    const auto peOffset = *reinterpret_cast<const LONG*>(&head[offsetof(IMAGE_DOS_HEADER, e_lfanew)]);
    ASSERT_TRUE(peOffset > 0 && peOffset + 6 < static_cast<LONG>(head.size()));
    EXPECT_EQ(*reinterpret_cast<const WORD*>(&head[static_cast<std::size_t>(peOffset) + 4]), GetParam().machine);

    HRSRC groupResource = FindResourceW(module, L"DEFAULT_ICON", RT_GROUP_ICON);
    ASSERT_NE(groupResource, nullptr) << "no icon group DEFAULT_ICON";
    const auto* group = static_cast<const IconGroup*>(LockResource(LoadResource(module, groupResource)));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->count, 1) << "expected exactly one image";
    const IconGroupEntry& entry = group->entries[0];
    EXPECT_EQ(entry.width, 16);
    EXPECT_EQ(entry.height, 16);
    EXPECT_EQ(entry.bitCount, 32);

    HRSRC imageResource = FindResourceW(module, MAKEINTRESOURCEW(entry.id), RT_ICON);
    ASSERT_NE(imageResource, nullptr) << "no icon image " << entry.id;
    const auto* image = static_cast<const BYTE*>(LockResource(LoadResource(module, imageResource)));
    ASSERT_NE(image, nullptr);
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
    EXPECT_EQ(header->biBitCount, 32);
    ASSERT_EQ(header->biWidth, 16);
    ASSERT_GE(SizeofResource(module, imageResource), header->biSize + 16 * 16 * 4);
    int soft = 0;
    for (int i = 0; i < 16 * 16; ++i) {
        const BYTE alpha = image[header->biSize + 4 * i + 3];
        soft += alpha > 0 && alpha < 255;
    }
    EXPECT_GT(soft, 0) << "expected alpha values strictly between 0 and 255 (a soft halo)";
}

// Every resource of the file with the language it is stored under, as
// "type name language" (numeric types and names as #n, languages in hex). The icon
// image's number is the resource compiler's choice and shows as #icon.
struct ResourceWalk {
    std::set<std::string> found;
    std::string type, name;
};

std::string resourceId(const wchar_t* id) {
    return IS_INTRESOURCE(id) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(id)) : gbkOf(id);
}

BOOL CALLBACK onResourceLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR param) {
    auto& walk = *reinterpret_cast<ResourceWalk*>(param);
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(language));
    walk.found.insert(walk.type + " " + walk.name + " " + hex);
    return TRUE;
}

BOOL CALLBACK onResourceName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    auto& walk = *reinterpret_cast<ResourceWalk*>(param);
    walk.name = type == RT_ICON ? "#icon" : resourceId(name);
    EnumResourceLanguagesW(module, type, name, onResourceLanguage, param);
    return TRUE;
}

BOOL CALLBACK onResourceType(HMODULE module, LPWSTR type, LONG_PTR param) {
    reinterpret_cast<ResourceWalk*>(param)->type = resourceId(type);
    EnumResourceNamesW(module, type, onResourceName, param);
    return TRUE;
}

std::set<std::string> storedResources(HMODULE module) {
    ResourceWalk walk;
    EnumResourceTypesW(module, onResourceType, reinterpret_cast<LONG_PTR>(&walk));
    return walk.found;
}

// FindResource falls back to any language, so the languages are read from the
// file's resource directory itself.
TEST_P(WindowExecutableIdentity, StoresEachResourceUnderItsLanguage) {
    const std::wstring path = GetParam().path();
    HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module, nullptr) << "cannot open " << path << " as data, error " << GetLastError();
    std::unique_ptr<std::remove_pointer_t<HMODULE>, decltype(&FreeLibrary)> release(module, FreeLibrary);

    // Language-neutral (0000): the icon group and its image, the pictures and the
    // manifest. Chinese (PRC, 0804): the version record, whose texts are.
    const std::set<std::string> expected = {
        "#3 #icon 0000",  "#14 DEFAULT_ICON 0000", "#10 #101 0000", "#10 #102 0000", "#10 #103 0000",
        "#10 #104 0000", "#10 #105 0000",         "#24 #1 0000",   "#16 #1 0804",
    };
    const std::set<std::string> stored = storedResources(module);
    EXPECT_EQ(stored, expected) << "stored: " << testing::PrintToString(stored);
}

INSTANTIATE_TEST_SUITE_P(, WindowExecutableIdentity,
                         testing::Values(Executable{"UnderTest", programPath, kProgramMachine},
                                         Executable{"Shipped", shippedProgramPath, IMAGE_FILE_MACHINE_I386}),
                         [](const testing::TestParamInfo<Executable>& param) { return std::string(param.param.what); });

}  // namespace
