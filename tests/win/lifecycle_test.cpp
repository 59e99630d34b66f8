// The real program as a process: its window, its exit codes and its error box.
#include "tests/win/support.h"

#include <gtest/gtest.h>

namespace {

constexpr DWORD kTimeout = 20000;
constexpr DWORD kFatalExit = 0xFFFFFFFF;  // exit code -1

TEST(Lifecycle, ShowsItsWindowAndExitsWithZeroWhenClosed) {
    Launched program(programPath(), L"--ignored argument");
    ASSERT_TRUE(program.started());
    HWND window = program.waitForWindow(kMainClass, kTimeout);
    ASSERT_NE(window, nullptr) << "no main window";
    program.waitIdle();
    EXPECT_EQ(textGbk(window), "Vantor打野布阵查询V2.0 bbs.vantor.example");
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.waitForExit(kTimeout), 0u);
}

TEST(Lifecycle, QueryOnEmptyTablesShowsTheErrorBoxAndExitsWithMinusOne) {
    Launched program(unfilledProgramPath());
    ASSERT_TRUE(program.started());
    HWND window = program.waitForWindow(kMainClass, kTimeout);
    ASSERT_NE(window, nullptr);
    program.waitIdle();
    HWND query = findControl(window, L"Button", 336, 184);
    ASSERT_NE(query, nullptr) << "no query button";
    const std::string labelBefore = textGbk(findControl(window, L"VantorTransLabel", 182, 280));
    // Posted: a sent click would wait for the modal box.
    PostMessageW(query, BM_CLICK, 0, 0);
    HWND box = program.waitForWindow(kDialogClass, kTimeout);
    ASSERT_NE(box, nullptr) << "no error box";
    EXPECT_EQ(textGbk(box), "错误");
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    HWND message = GetDlgItem(box, 0xFFFF);
    ASSERT_NE(message, nullptr);
    const std::string expected = "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n";
    const std::string shown = textGbk(message);
    EXPECT_EQ(shown, expected) << "expected " << hexBytes(expected) << ", got " << hexBytes(shown);
    EXPECT_EQ(textGbk(findControl(window, L"VantorTransLabel", 182, 280)), labelBefore);
    EXPECT_TRUE(IsWindowEnabled(window)) << "the main window stays enabled";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.waitForExit(kTimeout), kFatalExit);
}

}  // namespace
