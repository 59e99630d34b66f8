// The runtime core and the start routine: the fatal error text, the order of
// start-up and shutdown, when handlers run, the window layout handed to the host,
// the ledger of blocks and the property helpers.
#include "app/runtime_core.h"
#include "app/start.h"

#include "tests/unit/core_test_support.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::string>;

std::string allocationFailure(std::size_t bytes) {
    return "运行时出错!\r\n\r\n错误信息：分配 " + std::to_string(bytes) + " 字节内存失败!\r\n";
}

TEST(ErrorTextTest, ComposesCodeAndMessageLines) {
    struct Case {
        int code;
        const char* message;
        std::string expected;
    };
    const Case cases[] = {
        // 运行时出错!  错误代码：4  错误信息：数组成员引用下标必须大于等于1, in GBK
        {4, "数组成员引用下标必须大于等于1",
         "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n"
         "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA" "4\r\n\r\n"
         "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA"
         "\xCA\xFD\xD7\xE9\xB3\xC9\xD4\xB1\xD2\xFD\xD3\xC3\xCF\xC2\xB1\xEA\xB1\xD8\xD0\xEB\xB4\xF3\xD3\xDA\xB5\xC8\xD3\xDA"
         "1\r\n"},
        {1, "数组成员引用下标超出定义范围",
         "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        {0, "载入启动窗口失败", "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n"},
        {0, "", "运行时出错!\r\n\r\n"},
        {0, nullptr, "运行时出错!\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.code) + " " + printable(c.message));
        EXPECT_EQ(std::string(composeErrorText(c.code, c.message).text), c.expected);
    }
}

TEST(ErrorTextTest, OverlongMessageIsCutAtACharacterBoundary) {
    // An ASCII letter first, so a cut inside a two-byte character would show.
    std::string message = "x";
    while (message.size() < 2 * sizeof(ErrorText::text)) message += "错";
    const std::string text = composeErrorText(0, message.c_str()).text;
    ASSERT_LT(text.size(), sizeof(ErrorText::text));
    const std::string head = "运行时出错!\r\n\r\n错误信息：x";
    ASSERT_EQ(text.compare(0, head.size(), head), 0);
    EXPECT_EQ((text.size() - head.size()) % 2, 0u) << "a GBK character was split";
    EXPECT_EQ(text.compare(head.size(), std::string::npos, message, 1, text.size() - head.size()), 0);
}

class RuntimeCoreTest : public CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        active = &host;
    }
    void TearDown() override {
        active = nullptr;
        CoreTest::TearDown();
    }

    void click(const char* button) { dispatchEvent(entryIndex(button), Event::clicked); }

    static ProbeHost* active;
};

ProbeHost* RuntimeCoreTest::active = nullptr;

TEST_F(RuntimeCoreTest, RuntimeErrorsEndTheProcessWithTheirText) {
    struct Case {
        int code;
        std::string expected;
    };
    const Case cases[] = {
        {1, "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        {4, "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
        {7, "运行时出错!\r\n\r\n错误代码：7\r\n\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        host.calls.clear();
        EXPECT_EQ(exitCodeOf([&] { raiseRuntimeError(c.code); }), -1);
        EXPECT_EQ(host.errorText, c.expected);
        EXPECT_EQ(host.calls, (Calls{"showErrorBox", "releaseResources", "endProcess -1"}));
    }
}

TEST_F(RuntimeCoreTest, ExhaustedMemoryNamesTheRequestedSize) {
    const std::size_t cases[] = {0, 9, 4096, SIZE_MAX};
    for (std::size_t bytes : cases) {
        SCOPED_TRACE(bytes);
        host.calls.clear();
        EXPECT_EQ(exitCodeOf([&] { memoryExhausted(bytes); }), -1);
        EXPECT_EQ(host.errorText, allocationFailure(bytes));
        EXPECT_EQ(host.calls, (Calls{"showErrorBox", "releaseResources", "endProcess -1"}));
        useRuntime(host, kMainWindow, kTestHandlers);
    }
}

// Memory exhausted again while the first error is reported (in the box, say)
// ends the process there, with no second box.
TEST_F(RuntimeCoreTest, FatalErrorWhileReportingOneEndsAtOnce) {
    struct FailingBox : ProbeHost {
        void showErrorBox(const char* text) override {
            ProbeHost::showErrorBox(text);
            memoryExhausted(64);
        }
    } failingBox;
    useRuntime(failingBox, kMainWindow, kTestHandlers);
    EXPECT_EQ(exitCodeOf([] { raiseRuntimeError(4); }), -1);
    EXPECT_EQ(failingBox.errorBoxes, 1);
    EXPECT_EQ(failingBox.errorText, "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n");
    EXPECT_EQ(failingBox.calls, (Calls{"showErrorBox", "endProcess -1"}));
    useRuntime(host, kMainWindow, kTestHandlers);
}

TEST_F(RuntimeCoreTest, StartsAndShutsDownInOrder) {
    int countAtBuild = -1;
    bool filledAtShow = false;
    long blocksInLoop = -1;
    host.whileBuilding = [&] { countAtBuild = static_cast<int>(tableCount(0)); };
    host.atShow = [&] {
        filledAtShow = true;
        for (std::size_t kind = 0; kind < kKindCount; ++kind) filledAtShow = filledAtShow && tableCount(kind) == 33;
    };
    host.whileLooping = [&] { blocksInLoop = extraBlocks(); };

    EXPECT_EQ(startProgram(), 0);
    EXPECT_EQ(finishRun(0), 0);

    EXPECT_EQ(host.calls, (Calls{"enterExecutableDirectory", "takeGuiThread", "buildWindow", "showWindow",
                                 "runMessageLoop", "releaseResources"}));
    EXPECT_EQ(countAtBuild, 0);
    EXPECT_TRUE(filledAtShow);
    EXPECT_EQ(blocksInLoop, 4 + 4 * 33);
    EXPECT_EQ(extraBlocks(), 0);
    EXPECT_EQ(host.errorBoxes, 0);
}

TEST_F(RuntimeCoreTest, EndOfRunRoutineRunsOnlyOnce) {
    ASSERT_EQ(startProgram(), 0);
    ASSERT_EQ(finishRun(0), 0);
    ASSERT_EQ(extraBlocks(), 0);
    createEmptyTables();
    fillFormationTables();
    EXPECT_EQ(finishRun(0), 0);
    EXPECT_EQ(tableCount(0), 33u);
}

TEST_F(RuntimeCoreTest, EventsWhileBuildingReachNoHandler) {
    setText("种类", Property::content, "暗风猎手");
    setText("等级", Property::content, "10");
    std::size_t countAfterCreated = 99;
    host.whileBuilding = [&] {
        dispatchEvent(0, Event::created);
        countAfterCreated = tableCount(0);
        click("按钮1");
    };
    ASSERT_EQ(startProgram(), 0);
    EXPECT_EQ(countAfterCreated, 0u);
    EXPECT_TRUE(host.reads.empty());
    EXPECT_TRUE(host.writes.empty());
    EXPECT_EQ(tableCount(0), 33u);  // the created event after building did fill them
}

TEST_F(RuntimeCoreTest, ClickInTheLoopRunsTheQuery) {
    host.whileLooping = [&] {
        setText("种类", Property::content, "邪月蛮兵");
        setText("等级", Property::content, "70");
        click("按钮2");
        click("按钮3");
        click("按钮4");
        click("元素1");
        ASSERT_TRUE(host.writes.empty());
        click("按钮1");
    };
    ASSERT_EQ(startProgram(), 0);
    EXPECT_EQ(host.writes.size(), 3u);
    EXPECT_EQ(textOf("元素1", Property::caption), "39160");
    EXPECT_EQ(textOf("元素3", Property::caption), "\xC4\xA7\x9A\x69\xB9\xAD\xC5\xDA");
    EXPECT_EQ(finishRun(0), 0);
}

TEST_F(RuntimeCoreTest, FatalErrorInTheLoopKeepsTheTablesAndBlocksHandlers) {
    host.whileLooping = [&] {
        setText("种类", Property::content, "暗风猎手");
        setText("等级", Property::content, "10");
        host.failObtainAt = host.obtained + 1;  // the copy of the first selector text
        click("按钮1");
    };
    EXPECT_EQ(exitCodeOf(startProgram), -1);
    host.failObtainAt = 0;
    EXPECT_EQ(host.errorText, allocationFailure(9));  // 暗风猎手 is 8 bytes in GBK
    EXPECT_EQ(host.calls, (Calls{"enterExecutableDirectory", "takeGuiThread", "buildWindow", "showWindow",
                                 "runMessageLoop", "showErrorBox", "releaseResources", "endProcess -1"}));
    EXPECT_EQ(extraBlocks(), 4 + 4 * 33);

    host.reads.clear();
    host.writes.clear();
    click("按钮1");
    dispatchEvent(0, Event::created);
    EXPECT_TRUE(host.reads.empty());
    EXPECT_TRUE(host.writes.empty());
    EXPECT_EQ(extraBlocks(), 4 + 4 * 33);
}

TEST_F(RuntimeCoreTest, AllocationFailureWhileFillingSkipsTheEndOfRunRoutine) {
    // Start-up takes 4 blocks for the empty lists, then 34 for the first kind;
    // the list of the second kind is the one that fails.
    host.failObtainAt = host.obtained + 4 + 34 + 1;
    EXPECT_EQ(exitCodeOf(startProgram), -1);
    host.failObtainAt = 0;
    EXPECT_EQ(host.errorText, allocationFailure(33 * sizeof(char*)));
    EXPECT_EQ(host.calls, (Calls{"enterExecutableDirectory", "takeGuiThread", "buildWindow", "showErrorBox",
                                 "releaseResources", "endProcess -1"}));
    EXPECT_EQ(tableCount(0), 33u);
    for (std::size_t kind = 1; kind < kKindCount; ++kind) EXPECT_EQ(tableCount(kind), 0u);
    EXPECT_EQ(extraBlocks(), 4 + 33);  // three empty lists and the first kind's table
}

TEST_F(RuntimeCoreTest, WindowDestroyedWhileCreatedIsNeverShown) {
    static constexpr HandlerName names[] = {
        {"fillFormationTables", [] { active->exists = false; }},
        {"queryFormation", queryFormation},
        {"openMoreToolsPage", doNothing},
        {"openForumPage", doNothing},
        {"openGuidesPage", doNothing},
    };
    useRuntime(host, kMainWindow, {names, std::size(names)});
    EXPECT_EQ(startProgram(), 0);
    EXPECT_EQ(finishRun(0), 0);
    EXPECT_EQ(host.calls, (Calls{"enterExecutableDirectory", "takeGuiThread", "buildWindow", "releaseResources"}));
    EXPECT_EQ(extraBlocks(), 0);
}

// Handlers for the one-at-a-time tests: 按钮2's handler raises events as if
// messages were pumped while it runs (clicks on 按钮3 and on its own button) and
// then, when told to, a fatal error.
std::vector<std::string> handlerLog;
bool reentered = false;
bool failInHandler = false;

void firstHandler() {
    handlerLog.push_back("按钮2 begins");
    if (!reentered) {
        reentered = true;
        dispatchEvent(entryIndex("按钮3"), Event::clicked);
        dispatchEvent(entryIndex("按钮2"), Event::clicked);
        dispatchEvent(entryIndex("元素1"), Event::clicked);  // unbound
        if (failInHandler) raiseRuntimeError(4);
    }
    handlerLog.push_back("按钮2 ends");
}

void secondHandler() {
    handlerLog.push_back("按钮3");
}

constexpr HandlerName kReentryHandlers[] = {
    {"fillFormationTables", fillFormationTables},
    {"queryFormation", queryFormation},
    {"openMoreToolsPage", firstHandler},
    {"openForumPage", secondHandler},
    {"openGuidesPage", doNothing},
};

TEST_F(RuntimeCoreTest, EventRaisedWhileAHandlerRunsWaitsForItsEnd) {
    struct Case {
        bool fails;
        std::vector<std::string> log;
    };
    const Case cases[] = {
        {false, {"按钮2 begins", "按钮2 ends", "按钮3", "按钮2 begins", "按钮2 ends"}},
        // A fatal error in the running handler: what waited never runs.
        {true, {"按钮2 begins"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fails ? "fatal error in the handler" : "handler returns");
        handlerLog.clear();
        reentered = false;
        failInHandler = c.fails;
        useRuntime(host, kMainWindow, {kReentryHandlers, std::size(kReentryHandlers)});
        initRuntime();
        const std::optional<int> exit = exitCodeOf([] { dispatchEvent(entryIndex("按钮2"), Event::clicked); });
        EXPECT_EQ(exit, c.fails ? std::optional<int>(-1) : std::nullopt);
        EXPECT_EQ(handlerLog, c.log);
        // Then a click runs its handler at once, unless a fatal error came first.
        dispatchEvent(entryIndex("按钮3"), Event::clicked);
        std::vector<std::string> after = c.log;
        if (!c.fails) after.push_back("按钮3");
        EXPECT_EQ(handlerLog, after);
    }
    useRuntime(host, kMainWindow, kTestHandlers);
}

TEST_F(RuntimeCoreTest, FailedBuildIsFatal) {
    host.buildSucceeds = false;
    EXPECT_EQ(exitCodeOf(startProgram), -1);
    EXPECT_EQ(host.errorText, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_EQ(host.calls, (Calls{"enterExecutableDirectory", "takeGuiThread", "buildWindow", "showErrorBox",
                                 "releaseResources", "endProcess -1"}));
}

// Small descriptions: a window with a picture box and a button in it, bound to a
// handler; each bad one differs from the good one in a single name.
constexpr Binding kKnownBinding[] = {{Event::clicked, "queryFormation"}};
constexpr Binding kUnknownBinding[] = {{Event::clicked, "queryFormations"}};

constexpr ControlEntry window() {
    return {.name = "", .parent = "", .left = 0, .top = 0, .width = 200, .height = 100,
            .props = WindowProps{.title = "窗口"}};
}
constexpr ControlEntry panel() {
    return {.name = "图片框1", .parent = "", .left = 0, .top = 0, .width = 200, .height = 50,
            .props = PicBoxProps{.picture = 1}};
}
constexpr ControlEntry button(const char* parent, const Binding* bindings) {
    return {.name = "按钮1", .parent = parent, .left = 10, .top = 10, .width = 50, .height = 20,
            .bindings = bindings, .bindingCount = 1, .props = ButtonProps{.caption = "按钮"}};
}

const ControlEntry kGoodEntries[] = {window(), panel(), button("图片框1", kKnownBinding)};
const ControlEntry kUnknownHandlerEntries[] = {window(), panel(), button("图片框1", kUnknownBinding)};
const ControlEntry kUnknownParentEntries[] = {window(), panel(), button("图片框9", kKnownBinding)};

TEST_F(RuntimeCoreTest, UnreadableDescriptionIsFatalAtStart) {
    struct Case {
        const char* what;
        WindowDescription description;
        bool fails;
    };
    const Case cases[] = {
        {"good", {kGoodEntries, std::size(kGoodEntries)}, false},
        {"unknown handler", {kUnknownHandlerEntries, std::size(kUnknownHandlerEntries)}, true},
        {"unknown parent", {kUnknownParentEntries, std::size(kUnknownParentEntries)}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host.errorText.clear();
        useRuntime(host, c.description, kTestHandlers);
        std::optional<int> exit = exitCodeOf(initRuntime);
        if (c.fails) {
            EXPECT_EQ(exit, -1);
            EXPECT_EQ(host.errorText, "运行时出错!\r\n\r\n错误信息：载入窗口模板数据段出错!\r\n");
        } else {
            EXPECT_EQ(exit, std::nullopt);
            EXPECT_EQ(host.errorBoxes, 0);
        }
    }
}

TEST_F(RuntimeCoreTest, LayoutNamesEachEntrysParent) {
    ASSERT_EQ(startProgram(), 0);
    ASSERT_EQ(host.parents.size(), kMainWindow.count);
    EXPECT_EQ(host.parents[0], -1);
    const char* const cases[][2] = {
        {"等级", "图片框2"}, {"按钮1", "图片框2"}, {"透明标签3", "图片框2"}, {"元素1", "图片框3"},
        {"元素3", "图片框3"}, {"按钮2", "图片框4"}, {"种类", nullptr},      {"按钮3", nullptr},
        {"图片框1", nullptr}, {"图片框4", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        int expected = c[1] != nullptr ? static_cast<int>(entryIndex(c[1])) : 0;
        EXPECT_EQ(host.parents[entryIndex(c[0])], expected);
    }
    EXPECT_EQ(finishRun(0), 0);
}

TEST_F(RuntimeCoreTest, ReleasingWhatWasNotHandedOutDoesNothing) {
    void* block = allocateBlock(16);
    ASSERT_EQ(extraBlocks(), 1);
    static const char constant[] = "常量";
    releaseBlock(nullptr);
    releaseBlock(const_cast<char*>("literal"));
    releaseBlock(const_cast<char*>(constant));
    releaseBlock(static_cast<char*>(block) + 1);
    EXPECT_EQ(extraBlocks(), 1);
    releaseBlock(block);
    EXPECT_EQ(extraBlocks(), 0);
}

TEST_F(RuntimeCoreTest, ReadPropertyCopiesNonEmptyTexts) {
    EXPECT_EQ(readProperty("种类", Property::content), nullptr);  // never set
    setText("种类", Property::content, "");
    EXPECT_EQ(readProperty("种类", Property::content), nullptr);
    EXPECT_EQ(extraBlocks(), 0);

    setText("种类", Property::content, "恶雷炮手");
    char* text = readProperty("种类", Property::content);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::string(text), "\xB6\xF1\xC0\xD7\xC5\xDA\xCA\xD6");
    EXPECT_EQ(extraBlocks(), 1);
    releaseBlock(text);
    EXPECT_EQ(extraBlocks(), 0);
}

TEST_F(RuntimeCoreTest, WritingNullWritesTheEmptyText) {
    setText("元素2", Property::caption, "旧");
    writeProperty("元素2", Property::caption, nullptr);
    ASSERT_EQ(host.writes.size(), 1u);
    EXPECT_EQ(host.writes[0].first, entryIndex("元素2"));
    EXPECT_EQ(host.writes[0].second, "");
    EXPECT_EQ(textOf("元素2", Property::caption), "");
}

}  // namespace
