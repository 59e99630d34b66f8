// The benchmark driver under Wine: start-up, a click's round trip and memory of
// the real program against a bare window program, and the decoding of the
// program's pictures. Each figure is the median of its repetitions, measured in
// the same run as its baseline.
//
//   bench_driver.exe PROGRAM.exe BARE.exe ASSETS_DIR [REPETITIONS]
#include "tests/support/desktop.h"
#include "tests/win/support.h"
#include "ui/picture.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Run {
    double startupMs;
    double clickMs;
    double privateKb;
    double workingSetKb;
};

// One start of a program: time to a shown, idle window; then click round trips
// on its button at (336, 184); then its memory; then it is closed.
Run measure(const std::wstring& exe, int clicks) {
    Run run{};
    double start = now();
    Launched program(exe);
    WaitForInputIdle(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, program.pid()), 20000);
    HWND window = nullptr;
    while ((window = shownWindowOf(program.pid())) == nullptr && now() - start < 20000) Sleep(1);
    program.waitIdle();
    run.startupMs = now() - start;
    HWND button = findControl(window, L"Button", 336, 184);
    std::vector<double> rounds;
    for (int i = 0; i < clicks && button != nullptr; ++i) {
        double t = now();
        SendMessageW(button, BM_CLICK, 0, 0);
        rounds.push_back(now() - t);
    }
    run.clickMs = rounds.empty() ? -1 : median(rounds);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.pid());
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    run.privateKb = static_cast<double>(counters.PagefileUsage) / 1024.0;
    run.workingSetKb = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    program.waitForExit(20000);
    return run;
}

void report(const char* figure, const char* unit, double value, double baseline, const char* target) {
    std::printf("%-22s %10.3f %-3s baseline %10.3f %-3s ratio %6.3f   target %s\n", figure, value, unit, baseline, unit,
                baseline > 0 ? value / baseline : 0.0, target);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: bench_driver PROGRAM.exe BARE.exe ASSETS_DIR [REPETITIONS]\n");
        return 2;
    }
    const int repetitions = argc > 4 ? _wtoi(argv[4]) : 15;
    const int clicks = 51;
    std::vector<Run> program, bare;
    for (int i = 0; i < repetitions; ++i) {  // alternating, so drift hits both alike
        program.push_back(measure(argv[1], clicks));
        bare.push_back(measure(argv[2], clicks));
    }
    auto pick = [](const std::vector<Run>& runs, double Run::*field) {
        std::vector<double> values;
        for (const Run& r : runs) values.push_back(r.*field);
        return median(values);
    };
    std::printf("under Wine, median of %d starts (%d click round trips each)\n", repetitions, clicks);
    report("start-up", "ms", pick(program, &Run::startupMs), pick(bare, &Run::startupMs), "ratio <= 1.15");
    report("query click", "ms", pick(program, &Run::clickMs), pick(bare, &Run::clickMs), "<= 1 ms, ratio <= 2");
    report("private bytes", "KB", pick(program, &Run::privateKb), pick(bare, &Run::privateKb), "<= baseline + 2048 KB");
    report("working set", "KB", pick(program, &Run::workingSetKb), pick(bare, &Run::workingSetKb),
           "<= baseline + 2048 KB");

    // Decoding: the five pictures, read once, decoded again and again.
    std::string assets;
    for (const wchar_t* p = argv[3]; *p != 0; ++p) assets += static_cast<char>(*p);
    std::vector<std::vector<std::uint8_t>> files;
    for (const char* name : {"panel1.jpg", "panel2.jpg", "panel3.jpg", "panel4.jpg", "query_button.jpg"}) {
        std::ifstream in(assets + "/" + name, std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::vector<double> decodes;
    for (int i = 0; i < 51; ++i) {
        double t = now();
        for (const auto& f : files) {
            RgbImage image;
            if (!decodeJpeg(f.data(), f.size(), image)) return 1;
        }
        decodes.push_back(now() - t);
    }
    std::printf("%-22s %10.3f ms   (all five pictures, median of 51, under Wine)\n", "decoding", median(decodes));
    return 0;
}
