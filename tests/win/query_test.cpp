// The formation query on the real program, driven from outside as a user would: the
// selectors and their items, the answer for every kind and level, the selectors'
// colours and opened list, and how the result labels repaint.
#include "tests/win/support.h"
#include "ui/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

namespace {

constexpr DWORD kTimeout = 20000;

constexpr const char* kLevels[] = {"10", "20", "30", "40", "50", "60", "70", "80", "90", "100", "110"};
constexpr const char* kKinds[] = {"暗风猎手", "邪月蛮兵", "恶雷炮手", "黑雾巫妖"};
constexpr int kLevelCount = 11;
constexpr int kKindCount = 4;

// The answers, by kind and level: troops are the same for every kind.
constexpr const char* kTroops[kLevelCount] = {"240",   "2080",  "5880",  "12400", "19600", "28520",
                                              "39160", "51560", "65720", "81680", "96120"};
struct KindAnswers {
    const char* enemy[kLevelCount];
    const char* best[kLevelCount];
};
// clang-format off
constexpr KindAnswers kAnswers[kKindCount] = {
    {{"弓弓魔炮", "弓步弓炮", "魔弓炮弓", "弓魔步弓", "步弓弓炮", "步魔弓弓", "弓炮魔弓", "弓弓魔步", "弓弓炮步", "魔炮弓弓", "弓炮弓魔"},
     {"炮魔弓步", "炮魔弓步", "弓魔步炮", "炮弓魔歩", "魔炮弓步", "魔弓炮步", "炮步魔弓", "炮步弓魔", "炮弓步魔", "魔步炮弓", "炮步弓魔"}},
    {{"步步魔炮", "弓步步炮", "魔弓步步", "步魔步弓", "步步魔炮", "步魔弓步", "步炮步弓", "步炮魔步", "步魔炮步", "步炮步弓", "步炮步魔"},
     {"魔步弓炮", "炮魔弓步", "弓炮步魔", "魔弓步炮", "魔步弓炮", "魔弓炮步", "魔歩弓炮", "魔歩炮弓", "魔弓炮步", "魔步弓炮", "魔歩弓炮"}},
    {{"步弓炮炮", "弓魔炮炮", "魔炮炮步", "炮魔步炮", "步弓炮炮", "步炮弓炮", "炮炮魔弓", "弓炮魔炮", "炮魔炮步", "炮炮步弓", "步炮弓炮"},
     {"魔弓炮步", "炮弓魔歩", "弓步炮魔", "步弓魔炮", "魔弓炮步", "魔歩弓炮", "步魔弓炮", "炮步弓魔", "步弓炮魔", "歩炮魔弓", "魔歩弓炮"}},
    {{"步弓魔魔", "魔步炮炮", "魔弓魔步", "炮魔步魔", "步弓魔魔", "步魔魔炮", "步炮魔魔", "弓炮魔魔", "魔魔炮步", "魔炮步魔", "步炮魔魔"},
     {"魔步弓炮", "弓魔歩炮", "弓炮魔歩", "步弓魔炮", "魔步弓炮", "魔弓炮步", "魔歩弓炮", "炮步弓魔", "弓炮步魔", "弓步魔炮", "魔歩弓炮"}},
};
// clang-format on

// The best formations written with 歩 (the variant of 步), as the bytes they must be:
// 歩 = 9A 69, 弓 = B9 AD, 魔 = C4 A7, 炮 = C5 DA.
struct VariantEntry {
    int kind, level;
    const char* hex;
};
constexpr VariantEntry kVariantEntries[] = {
    {0, 3, "C5 DA B9 AD C4 A7 9A 69"},   // 暗风猎手 40 炮弓魔歩
    {1, 6, "C4 A7 9A 69 B9 AD C5 DA"},   // 邪月蛮兵 70 魔歩弓炮
    {1, 7, "C4 A7 9A 69 C5 DA B9 AD"},   // 邪月蛮兵 80 魔歩炮弓
    {1, 10, "C4 A7 9A 69 B9 AD C5 DA"},  // 邪月蛮兵 110 魔歩弓炮
    {2, 1, "C5 DA B9 AD C4 A7 9A 69"},   // 恶雷炮手 20 炮弓魔歩
    {2, 5, "C4 A7 9A 69 B9 AD C5 DA"},   // 恶雷炮手 60 魔歩弓炮
    {2, 9, "9A 69 C5 DA C4 A7 B9 AD"},   // 恶雷炮手 100 歩炮魔弓
    {2, 10, "C4 A7 9A 69 B9 AD C5 DA"},  // 恶雷炮手 110 魔歩弓炮
    {3, 1, "B9 AD C4 A7 9A 69 C5 DA"},   // 黑雾巫妖 20 弓魔歩炮
    {3, 2, "B9 AD C5 DA C4 A7 9A 69"},   // 黑雾巫妖 30 弓炮魔歩
    {3, 6, "C4 A7 9A 69 B9 AD C5 DA"},   // 黑雾巫妖 70 魔歩弓炮
    {3, 10, "C4 A7 9A 69 B9 AD C5 DA"},  // 黑雾巫妖 110 魔歩弓炮
};

const std::uint32_t kBrown = rgb(46, 43, 41);
const std::uint32_t kWhite = rgb(255, 255, 255);

struct Shown {
    std::string troops, enemy, best;
    bool operator==(const Shown&) const = default;
};

Shown shownAnswer(const QueryControls& c) {
    return {textGbk(c.troops), textGbk(c.enemy), textGbk(c.best)};
}

Shown expectedAnswer(int kind, int level) {
    return {kTroops[level], kAnswers[kind].enemy[level], kAnswers[kind].best[level]};
}

void PrintTo(const Shown& s, std::ostream* out) {
    *out << "{" << hexBytes(s.troops) << " | " << hexBytes(s.enemy) << " | " << hexBytes(s.best) << "}";
}

RECT inset(RECT r, int dx, int dy) {
    return {r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
}

// Pixels that differ between two shots of one window inside `area` (client coordinates).
int differingPixels(const Screenshot& a, const Screenshot& b, const RECT& area) {
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) n += a.at(x, y) != b.at(x, y) ? 1 : 0;
    }
    return n;
}

struct Colours {
    int total = 0, brown = 0, white = 0;
};

Colours coloursIn(const Screenshot& shot, const RECT& area) {
    Colours c;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            ++c.total;
            c.brown += shot.at(x, y) == kBrown ? 1 : 0;
            c.white += shot.at(x, y) == kWhite ? 1 : 0;
        }
    }
    return c;
}

// A closed selector's field, inside its border and left of its drop-down button.
RECT fieldInterior(HWND combo, HWND window) {
    RECT r = rectIn(combo, window);
    r.right -= GetSystemMetrics(SM_CXVSCROLL);
    return inset(r, 4, 4);
}

bool waitUntil(const std::function<bool()>& condition, DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(20);
    }
    return true;
}

POINT centreOf(HWND hwnd) {
    RECT r;
    GetClientRect(hwnd, &r);
    return {r.right / 2, r.bottom / 2};
}

// What a real click at a point of `target` needs before it is made, as a person would
// wait for it: the point shows the target (other programs' windows could cover it), the
// target's thread is the foreground one (a click on an inactive window first activates
// it, and an activation that comes late closes an opened list again), and no hidden
// window of that thread still holds the mouse capture (a list that has just closed
// releases it after it is hidden; a press before that would go to the list). Empty
// when all hold, else what does not.
std::string clickBlocker(HWND target, POINT screen) {
    HWND shown = WindowFromPoint(screen);
    if (shown != target) {
        DWORD pid = 0;
        GetWindowThreadProcessId(shown, &pid);
        return "the point shows a window of class " + className(shown) + " of process " + std::to_string(pid) +
               ", not the " + className(target) + " to click";
    }
    const DWORD thread = GetWindowThreadProcessId(target, nullptr);
    if (GetWindowThreadProcessId(GetForegroundWindow(), nullptr) != thread) return "the program is not in front";
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info)) return "no input state of the program's thread";
    if (info.hwndCapture != nullptr && !IsWindowVisible(info.hwndCapture)) {
        return "a hidden " + className(info.hwndCapture) + " holds the mouse capture";
    }
    return {};
}

// A real mouse click, once it can reach `target` (clickBlocker); false, saying what
// stood in the way, if it cannot in time.
testing::AssertionResult realClick(HWND target, POINT client) {
    POINT screen = client;
    ClientToScreen(target, &screen);
    std::string blocker;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(20)) {
        blocker = clickBlocker(target, screen);
        if (blocker.empty()) {
            clickAt(target, client);
            return testing::AssertionSuccess();
        }
        if (GetWindowThreadProcessId(GetForegroundWindow(), nullptr) != GetWindowThreadProcessId(target, nullptr)) {
            SetForegroundWindow(GetAncestor(target, GA_ROOT));
        }
    }
    return testing::AssertionFailure() << blocker;
}

// The program, started for each test, its window shown and idle.
class Query : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(program_.started());
        window_ = program_.waitForWindow(kMainClass, kTimeout);
        ASSERT_NE(window_, nullptr) << "no main window";
        program_.waitIdle();
        // Real input reaches the window only once it is drawn on the screen.
        captureSettled(window_);
        c_ = findQueryControls(window_);
        ASSERT_TRUE(c_.complete()) << "a selector, the query button or a result label is missing";
    }

    Launched program_{programPath()};
    HWND window_ = nullptr;
    QueryControls c_;
};

TEST_F(Query, SelectorsOfferTheLevelsAndKindsAndTakeNoTyping) {
    std::vector<std::string> levels, kinds;
    for (const auto& item : comboItems(c_.level)) levels.push_back(gbkOf(item));
    for (const auto& item : comboItems(c_.kind)) kinds.push_back(gbkOf(item));
    EXPECT_EQ(levels, std::vector<std::string>(std::begin(kLevels), std::end(kLevels)));
    EXPECT_EQ(kinds, std::vector<std::string>(std::begin(kKinds), std::end(kKinds)));
    EXPECT_EQ(textGbk(c_.level), "10");
    EXPECT_EQ(textGbk(c_.kind), "暗风猎手");

    for (HWND selector : {c_.level, c_.kind}) {
        EXPECT_EQ(GetWindowLongW(selector, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
        EXPECT_EQ(FindWindowExW(selector, nullptr, L"Edit", nullptr), nullptr) << "an edit field to type in";
        const std::wstring before = textWide(selector);
        // Characters no item begins with (a list selects the item a typed character begins).
        SendMessageW(selector, WM_CHAR, L'X', 1);
        SendMessageW(selector, WM_CHAR, L'#', 1);
        EXPECT_EQ(textWide(selector), before) << "typed characters changed the selector";
    }
}

TEST_F(Query, AnswersEveryKindAndLevelFromItsTable) {
    for (int kind = 0; kind < kKindCount; ++kind) {
        for (int level = 0; level < kLevelCount; ++level) {
            queryByIndex(c_, kind, level);
            const Shown shown = shownAnswer(c_);
            EXPECT_EQ(shown, expectedAnswer(kind, level)) << kKinds[kind] << " " << kLevels[level];
            for (const auto& variant : kVariantEntries) {
                if (variant.kind == kind && variant.level == level) {
                    EXPECT_EQ(hexBytes(shown.best), variant.hex) << kKinds[kind] << " " << kLevels[level];
                }
            }
        }
    }

    // The window as the README shows it: 邪月蛮兵 at level 70.
    queryByIndex(c_, 1, 6);
    EXPECT_EQ(shownAnswer(c_), (Shown{"39160", "步炮步弓", "魔歩弓炮"}));
    wchar_t directory[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"SCREENSHOT_DIR", directory, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::wstring path = directory;
        if (path.front() == L'/') path = L"Z:" + path;  // a Linux path
        CreateDirectoryW(path.c_str(), nullptr);
        path += L"\\query.bmp";
        captureSettled(window_);
        EXPECT_TRUE(saveWindowBmp(window_, path)) << "cannot write the screenshot";
    }
}

TEST_F(Query, AnswersOnlyWhenClickedAndTheSameEachTime) {
    const Shown start = expectedAnswer(0, 0);
    EXPECT_EQ(shownAnswer(c_), start);
    SendMessageW(c_.level, CB_SETCURSEL, 3, 0);
    EXPECT_EQ(shownAnswer(c_), start) << "the level alone changed the answer";
    SendMessageW(c_.query, BM_CLICK, 0, 0);
    EXPECT_EQ(shownAnswer(c_), expectedAnswer(0, 3));
    SendMessageW(c_.query, BM_CLICK, 0, 0);
    EXPECT_EQ(shownAnswer(c_), expectedAnswer(0, 3)) << "the same query again";
}

// The closed fields show white text on brown, the focused 等级 too: a plain drop-down
// list would fill its focused field with the highlight colour.
TEST_F(Query, SelectorFieldsShowWhiteTextOnBrownAlsoWhenFocused) {
    // Open and close 等级 with the mouse: it keeps the focus.
    ASSERT_TRUE(realClick(c_.level, centreOf(c_.level)));
    HWND list = program_.waitForWindow(L"ComboLBox", kTimeout);
    ASSERT_NE(list, nullptr) << "the list did not open";
    ASSERT_TRUE(realClick(c_.level, centreOf(c_.level)));
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(list); }, kTimeout)) << "the list did not close";
    SetCursorPos(0, 0);
    ASSERT_TRUE(waitUntil([&] { return focusedWindowOf(window_) == c_.level; }, kTimeout)) << "等级 is not focused";
    EXPECT_EQ(textGbk(c_.level), "10");

    const Screenshot shot = captureSettled(window_);
    const std::pair<HWND, const char*> fields[] = {{c_.level, "level (focused)"}, {c_.kind, "kind"}};
    for (const auto& [selector, name] : fields) {
        const Colours c = coloursIn(shot, fieldInterior(selector, window_));
        EXPECT_GT(c.brown, c.total / 2) << name << ": " << c.brown << " of " << c.total << " pixels are (46,43,41)";
        EXPECT_GE(c.white, 5) << name << ": no white text";
    }
}

TEST_F(Query, RealMouseOpensTheLevelListPicksAndAsks) {
    ASSERT_TRUE(realClick(c_.level, centreOf(c_.level)));
    HWND list = program_.waitForWindow(L"ComboLBox", kTimeout);
    ASSERT_NE(list, nullptr) << "the list did not open";
    captureSettled(list);  // the list takes its final height after it is shown

    RECT field, drop, client;
    GetWindowRect(c_.level, &field);
    GetWindowRect(list, &drop);
    GetClientRect(list, &client);
    EXPECT_EQ(drop.top, field.bottom) << "the list is not directly below the field";
    EXPECT_EQ(drop.left, field.left);
    EXPECT_LE(drop.bottom - field.top, 160) << "field and list are higher than 160 pixels";
    // A vertical scroll bar: the style, and the client area narrower by the bar's width
    // than the frame alone makes it (the frame is as wide as it is high).
    EXPECT_NE(GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL, 0);
    const int frame = (drop.bottom - drop.top) - client.bottom;
    EXPECT_EQ((drop.right - drop.left) - client.right - frame, GetSystemMetrics(SM_CXVSCROLL));

    std::vector<std::string> items;
    for (const auto& item : listItems(list)) items.push_back(gbkOf(item));
    ASSERT_EQ(items, std::vector<std::string>(std::begin(kLevels), std::end(kLevels)));

    // Brown with white text, but for the highlighted item (the selection, "10").
    const int itemHeight = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    ASSERT_GT(itemHeight, 0);
    const int visible = client.bottom / itemHeight;
    ASSERT_GE(visible, 1);
    ASSERT_LT(visible, kLevelCount) << "every level fits: nothing to scroll";
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
    const Screenshot shot = captureSettled(list);
    for (int item = 1; item < visible; ++item) {
        const Colours c = coloursIn(shot, {0, item * itemHeight, client.right, (item + 1) * itemHeight});
        EXPECT_GT(c.brown, c.total / 2) << kLevels[item] << ": " << c.brown << " of " << c.total << " brown";
        EXPECT_GE(c.white, 5) << kLevels[item] << ": no white text";
    }
    const Colours rest = coloursIn(shot, {0, visible * itemHeight, client.right, client.bottom});
    EXPECT_EQ(rest.brown, rest.total) << "below the last whole item";

    // The scroll bar goes through all eleven levels and back.
    for (int i = 0; i < kLevelCount; ++i) SendMessageW(list, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), kLevelCount - visible) << "110 is not the last line";
    SendMessageW(list, WM_VSCROLL, SB_TOP, 0);
    ASSERT_EQ(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0);

    // Pick 40 with the mouse: the level changes, the answer does not until 按钮1 is clicked.
    const int pick = 3;
    ASSERT_LT(pick, visible);
    ASSERT_TRUE(realClick(list, {client.right / 2, pick * itemHeight + itemHeight / 2}));
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(list); }, kTimeout)) << "the list did not close";
    EXPECT_EQ(textGbk(c_.level), "40");
    EXPECT_EQ(shownAnswer(c_), expectedAnswer(0, 0));
    ASSERT_TRUE(realClick(c_.query, centreOf(c_.query)));
    EXPECT_TRUE(waitUntil([&] { return textGbk(c_.troops) == kTroops[pick]; }, kTimeout)) << "no answer";
    EXPECT_EQ(shownAnswer(c_), expectedAnswer(0, pick));
}

TEST_F(Query, ResultLabelsRepaintWithoutRemnants) {
    SetCursorPos(0, 0);
    const Screenshot start = captureSettled(window_);
    const RECT labels[] = {rectIn(c_.troops, window_), rectIn(c_.enemy, window_), rectIn(c_.best, window_)};

    queryByIndex(c_, 0, 3);  // 12400 弓魔步弓 炮弓魔歩: longer texts
    const Screenshot longer = captureSettled(window_);
    for (const RECT& r : labels) EXPECT_GT(differingPixels(start, longer, r), 0) << "the new answer does not show";

    queryByIndex(c_, 0, 0);
    const Screenshot back = captureSettled(window_);
    for (const RECT& r : labels) EXPECT_EQ(differingPixels(start, back, r), 0) << "remnants of the longer answer";

    queryByIndex(c_, 0, 0);  // the same captions written again
    const Screenshot again = captureSettled(window_);
    for (const RECT& r : labels) EXPECT_EQ(differingPixels(start, again, r), 0) << "the same caption repainted differently";
}

// A label's window text set from outside becomes its caption. Empty, only the panel's
// picture shows in its area: client x = picture x - 1, the panel begins at client y 266.
// 元素1 overlaps the right 10 columns of 透明标签1, whose text may show there; they are
// left out.
TEST_F(Query, EmptyCaptionLeavesOnlyThePanelPicture) {
    std::ifstream file(assetPath("panel3.jpg"), std::ios::binary);
    const std::vector<std::uint8_t> jpeg((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    RgbImage panel;
    ASSERT_TRUE(decodeJpeg(jpeg.data(), jpeg.size(), panel));
    const RECT label = rectIn(c_.troops, window_);
    const RECT compared{192, label.top, label.right, label.bottom};
    auto mismatches = [&](const Screenshot& shot) {
        int n = 0;
        for (int y = compared.top; y < compared.bottom; ++y) {
            for (int x = compared.left; x < compared.right; ++x) {
                const std::size_t i = 3 * (static_cast<std::size_t>(y - 266) * panel.width + (x + 1));
                n += shot.at(x, y) != rgb(panel.rgb[i], panel.rgb[i + 1], panel.rgb[i + 2]) ? 1 : 0;
            }
        }
        return n;
    };
    ASSERT_GT(mismatches(captureSettled(window_)), 0) << "\"240\" does not show over the picture";

    SendMessageW(c_.troops, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    EXPECT_EQ(textWide(c_.troops), L"");
    EXPECT_EQ(mismatches(captureSettled(window_)), 0) << "more than the picture shows";
}

// A caption read into a buffer too small for it comes back cut to the buffer and
// ended, and nothing past the buffer is written.
TEST_F(Query, CaptionReadIntoSmallBufferIsCutAndEnded) {
    SendMessageW(c_.enemy, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"弓弓魔炮"));
    ASSERT_EQ(SendMessageW(c_.enemy, WM_GETTEXTLENGTH, 0, 0), 4);
    const struct {
        WPARAM size;
        LRESULT copied;
        const wchar_t* text;
    } cases[] = {{1, 0, L""}, {3, 2, L"弓弓"}, {5, 4, L"弓弓魔炮"}, {9, 4, L"弓弓魔炮"}};
    for (const auto& c : cases) {
        wchar_t buffer[10];
        std::fill(std::begin(buffer), std::end(buffer), L'#');
        LRESULT copied = SendMessageW(c_.enemy, WM_GETTEXT, c.size, reinterpret_cast<LPARAM>(buffer));
        EXPECT_EQ(copied, c.copied) << "buffer of " << c.size;
        EXPECT_EQ(std::wstring(buffer), c.text) << "buffer of " << c.size;
        EXPECT_EQ(buffer[c.size], L'#') << "written past a buffer of " << c.size;
    }
}

// An over-long single-line caption is cut at the label's edges: nothing outside the
// label changes, the text keeps to one line and runs on to the right edge (no ellipsis,
// not shortened to the characters that fit).
TEST_F(Query, OverlongCaptionIsCutAtTheLabelEdges) {
    const RECT label = rectIn(c_.troops, window_);
    auto setCaption = [&](const wchar_t* caption) {
        SendMessageW(c_.troops, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption));
        return captureSettled(window_);
    };
    const Screenshot empty = setCaption(L"");
    // The rows one line of these characters takes.
    const Screenshot fitting = setCaption(L"魔歩弓炮");
    int lineTop = label.bottom, lineBottom = label.top - 1;
    for (int y = label.top; y < label.bottom; ++y) {
        if (differingPixels(empty, fitting, {label.left, y, label.right, y + 1}) > 0) {
            lineTop = std::min(lineTop, y);
            lineBottom = std::max(lineBottom, y);
        }
    }
    ASSERT_LE(lineTop, lineBottom) << "the fitting caption does not show";

    const wchar_t* overlong = L"魔歩弓炮 魔歩弓炮 魔歩弓炮";
    const Screenshot shot = setCaption(overlong);
    EXPECT_EQ(textWide(c_.troops), overlong);
    const int all = differingPixels(empty, shot, {0, 0, shot.width, shot.height});
    EXPECT_EQ(all, differingPixels(empty, shot, label)) << "pixels outside the label changed";
    EXPECT_EQ(differingPixels(empty, shot, {label.left, label.top, label.right, lineTop}), 0) << "above the line";
    EXPECT_EQ(differingPixels(empty, shot, {label.left, lineBottom + 1, label.right, label.bottom}), 0)
        << "below the line: a second line?";
    // Text in many rows of the last columns: cut characters, not an ellipsis's dots or
    // the gap after the last whole character.
    int inkedRows = 0;
    for (int y = lineTop; y <= lineBottom; ++y) {
        inkedRows += differingPixels(empty, shot, {label.right - 6, y, label.right, y + 1}) > 0 ? 1 : 0;
    }
    EXPECT_GE(inkedRows, 6) << "the text does not reach the right edge";
}

}  // namespace
