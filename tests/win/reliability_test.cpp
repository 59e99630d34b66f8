// The real program under faults and long use: failed allocations, closing the
// window under the error box, two copies side by side, and a soak of queries with
// its GDI objects and private memory watched.
#include "tests/win/answers.h"
#include "tests/win/support.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <random>
#include <string>

namespace {

constexpr DWORD kTimeout = 20000;
constexpr DWORD kFatalExit = 0xFFFFFFFF;

// The program's controls as a user finds them on screen.
struct Controls {
    HWND window, kind, level, query, troops, enemy, best;
};

Controls findControls(HWND window) {
    return {window,
            findControl(window, L"ComboBox", 187, 227),
            findControl(window, L"ComboBox", 187, 184),
            findControl(window, L"Button", 336, 184),
            findControl(window, L"VantorTransLabel", 182, 280),
            findControl(window, L"VantorTransLabel", 352, 280),
            findControl(window, L"VantorTransLabel", 280, 328)};
}

// Selects a kind and a level row and clicks the query button; the click returns
// once the handler has written and repainted the labels.
void query(const Controls& c, std::size_t kind, std::size_t row) {
    SendMessageW(c.kind, CB_SETCURSEL, kind, 0);
    SendMessageW(c.level, CB_SETCURSEL, row, 0);
    SendMessageW(c.query, BM_CLICK, 0, 0);
}

std::string errorBoxText(const Launched& program) {
    HWND box = program.waitForWindow(kDialogClass, kTimeout);
    if (box == nullptr) return "(no error box)";
    return textGbk(GetDlgItem(box, 0xFFFF));
}

void pressOk(const Launched& program) {
    HWND box = program.waitForWindow(kDialogClass, 1000);
    if (box != nullptr) PostMessageW(box, WM_COMMAND, IDOK, 0);
}

// Runs the probe build with one request for memory failing: by default the n-th
// behind allocateBlock, with VANTOR_FAIL_MALLOC_BYTES the first malloc of n bytes.
class FailingAllocation {
public:
    explicit FailingAllocation(long long n, const wchar_t* probe = L"VANTOR_FAIL_ALLOCATION") {
        SetEnvironmentVariableW(probe, std::to_wstring(n).c_str());
        program_ = std::make_unique<Launched>(probeProgramPath());
        SetEnvironmentVariableW(probe, nullptr);
    }
    const Launched& program() const { return *program_; }

private:
    std::unique_ptr<Launched> program_;
};

std::string allocationMessage(const char* bytes) {
    return std::string("运行时出错!\r\n\r\n错误信息：分配 ") + bytes + " 字节内存失败!\r\n";
}

TEST(Reliability, FailedAllocationAtStartShowsTheRequestedSize) {
    // Requests in order: four empty tables, then per kind its list of 33 entries
    // (33 pointers: 264 bytes in the 64-bit build, 132 in the 32-bit one) and its 33
    // texts with their terminating NUL.
    const std::string list = std::to_string(33 * sizeof(void*));
    const struct {
        long request;
        const char* bytes;
    } cases[] = {
        {1, "0"},           // the first empty table
        {5, list.c_str()},  // the first kind's new list
        {6, "4"},           // "240"
        {7, "9"},           // "弓弓魔炮"
        {9, "5"},           // "2080"
        {140, "9"},         // the last kind's last text, "魔歩弓炮"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("request " + std::to_string(c.request));
        FailingAllocation run(c.request);
        ASSERT_TRUE(run.program().started());
        EXPECT_EQ(errorBoxText(run.program()), allocationMessage(c.bytes));
        EXPECT_EQ(run.program().waitForWindow(kMainClass, 0), nullptr) << "the window is not shown before it is filled";
        pressOk(run.program());
        EXPECT_EQ(run.program().waitForExit(kTimeout), kFatalExit);
    }
}

TEST(Reliability, FailedAllocationInAQueryEndsTheProgram) {
    // Request 141 is the first after start-up: the query's reading of 种类
    // ("暗风猎手", 8 bytes and the NUL).
    FailingAllocation run(141);
    HWND window = run.program().waitForWindow(kMainClass, kTimeout);
    ASSERT_NE(window, nullptr);
    run.program().waitIdle();
    Controls c = findControls(window);
    const std::string before = textGbk(c.troops);
    PostMessageW(c.query, BM_CLICK, 0, 0);
    EXPECT_EQ(errorBoxText(run.program()), allocationMessage("9"));
    EXPECT_EQ(textGbk(c.troops), before);
    pressOk(run.program());
    EXPECT_EQ(run.program().waitForExit(kTimeout), kFatalExit);
}

// Memory that a string of the program cannot get ends the program as any
// exhausted memory does, with the size asked for. The string is the copy of the
// promotional caption that its label keeps, made while the window is built: the
// caption's GBK bytes and their NUL, too long to be held inside the string object.
TEST(Reliability, FailedStringAllocationShowsTheRequestedSize) {
    std::size_t bytes = 0;
    {
        Launched program(programPath());
        HWND window = program.waitForWindow(kMainClass, kTimeout);
        ASSERT_NE(window, nullptr);
        program.waitIdle();
        bytes = textGbk(findControl(window, L"VantorTransLabel", 64, 113)).size() + 1;
        PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_EQ(program.waitForExit(kTimeout), 0u);
    }
    ASSERT_GT(bytes, 32u) << "the promotional caption, read from its label";

    FailingAllocation run(static_cast<long long>(bytes), L"VANTOR_FAIL_MALLOC_BYTES");
    ASSERT_TRUE(run.program().started());
    EXPECT_EQ(errorBoxText(run.program()), allocationMessage(std::to_string(bytes).c_str()));
    EXPECT_EQ(run.program().waitForWindow(kMainClass, 0), nullptr) << "the window is not shown";
    pressOk(run.program());
    EXPECT_EQ(run.program().waitForExit(kTimeout), kFatalExit) << "not the end of an uncaught exception (3)";
}

TEST(Reliability, ClosingTheWindowUnderTheErrorBoxStillEndsWithMinusOne) {
    Launched program(unfilledProgramPath());
    HWND window = program.waitForWindow(kMainClass, kTimeout);
    ASSERT_NE(window, nullptr);
    program.waitIdle();
    PostMessageW(findControls(window).query, BM_CLICK, 0, 0);
    ASSERT_NE(program.waitForWindow(kDialogClass, kTimeout), nullptr);
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    // The box may close with the window or stay until OK; either way the end is -1.
    DWORD code = program.waitForExit(3000);
    if (code == STILL_ACTIVE) {
        pressOk(program);
        code = program.waitForExit(kTimeout);
    }
    EXPECT_EQ(code, kFatalExit);
}

TEST(Reliability, TwoCopiesRunSideBySide) {
    Launched first(programPath()), second(programPath());
    HWND a = first.waitForWindow(kMainClass, kTimeout), b = second.waitForWindow(kMainClass, kTimeout);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    first.waitIdle();
    second.waitIdle();
    PostMessageW(a, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(first.waitForExit(kTimeout), 0u);
    EXPECT_EQ(second.waitForExit(500), STILL_ACTIVE);
    Controls c = findControls(b);
    query(c, 1, 6);
    EXPECT_EQ(textGbk(c.troops), "39160");
    PostMessageW(b, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(second.waitForExit(kTimeout), 0u);
}

struct Usage {
    LRESULT gdiObjects;
    SIZE_T privateBytes;
};

Usage usageOf(const Launched& program, HWND probe) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.pid());
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    CloseHandle(process);
    // PagefileUsage is the process's private committed memory (Wine leaves
    // PrivateUsage at 0).
    return {SendMessageW(probe, WM_APP, 0, 0), counters.PagefileUsage};
}

TEST(Reliability, TenThousandQueriesAnswerRightWithoutGrowing) {
    constexpr int kQueries = 10000;
    Launched program(probeProgramPath());
    HWND window = program.waitForWindow(kMainClass, kTimeout);
    ASSERT_NE(window, nullptr);
    program.waitIdle();
    HWND probe = FindWindowExW(HWND_MESSAGE, nullptr, L"VantorProbe", nullptr);
    ASSERT_NE(probe, nullptr);
    Controls c = findControls(window);
    std::mt19937 random(20261211);
    Usage afterFirstThousand{}, atEnd{};
    int wrong = 0;
    for (int i = 1; i <= kQueries; ++i) {
        std::size_t kind = random() % 4, row = random() % 11;
        query(c, kind, row);
        Answer expected = expectedAnswer(kind, row);
        if (textGbk(c.troops) != expected.troops || textGbk(c.enemy) != expected.enemy ||
            textGbk(c.best) != expected.best) {
            if (++wrong <= 5) ADD_FAILURE() << "query " << i << ": kind " << kind << ", row " << row;
        }
        if (i == 1000) afterFirstThousand = usageOf(program, probe);
    }
    atEnd = usageOf(program, probe);
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(afterFirstThousand.gdiObjects, 0) << "the probe counts the controls' objects";
    EXPECT_EQ(atEnd.gdiObjects, afterFirstThousand.gdiObjects);
    EXPECT_GT(afterFirstThousand.privateBytes, 0u);
    EXPECT_LE(atEnd.privateBytes, afterFirstThousand.privateBytes + 64 * 1024)
        << "private bytes after 1000 queries " << afterFirstThousand.privateBytes << ", after " << kQueries << " "
        << atEnd.privateBytes;
    std::printf("soak: %d queries; GDI objects %ld -> %ld; private bytes %zu -> %zu\n", kQueries,
                static_cast<long>(afterFirstThousand.gdiObjects), static_cast<long>(atEnd.gdiObjects),
                static_cast<std::size_t>(afterFirstThousand.privateBytes), static_cast<std::size_t>(atEnd.privateBytes));
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(program.waitForExit(kTimeout), 0u);
}

}  // namespace
