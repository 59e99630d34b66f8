// The benchmark driver under Wine: start-up, a click's round trip and memory of
// the real program against a bare window program and against the floor (the
// program's texts, fonts and standard controls, nothing else), the program's
// start-up timeline from its trace build, and the decoding of the program's
// pictures. Each figure is the median of its repetitions, measured in the same
// run as its baselines, the programs started in turn.
//
//   bench_driver.exe PROGRAM.exe BARE.exe FLOOR.exe TRACE.exe ASSETS_DIR [REPETITIONS]
#include "tests/support/desktop.h"
#include "tests/win/support.h"
#include "tests/win/timeline_record.h"
#include "ui/picture.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

double frequencyPerMs() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart) / 1000.0;
}

double now() {
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / frequencyPerMs();
}

double quantile(std::vector<double> values, double q) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(q * static_cast<double>(values.size() - 1) + 0.5)];
}

double median(const std::vector<double>& values) {
    return quantile(values, 0.5);
}

struct Run {
    double startupMs;
    double clickMs;
    double privateKb;
    double workingSetKb;
};

LONG marksWritten(const TimelineRecord& record) {
    const LONG written = record.written;
    return std::min(written, TimelineRecord::kCapacity);
}

// The trace build's marks, as milliseconds since the driver started the process;
// the first time of each step only.
using Timeline = std::map<std::string, double>;

// One start of a program: time to a shown, idle window; then click round trips
// on its button at (336, 184); then its memory; then it is closed. With a
// timeline, the program is the trace build and records into it.
Run measure(const std::wstring& exe, int clicks, Timeline* timeline = nullptr) {
    Run run{};
    HANDLE section = nullptr;
    TimelineRecord* record = nullptr;
    if (timeline != nullptr) {
        const std::wstring name = L"VantorTimeline" + std::to_wstring(GetCurrentProcessId());
        section = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(TimelineRecord),
                                     name.c_str());
        record = static_cast<TimelineRecord*>(MapViewOfFile(section, FILE_MAP_ALL_ACCESS, 0, 0, 0));
        SetEnvironmentVariableW(L"VANTOR_TIMELINE", name.c_str());
    }
    LARGE_INTEGER launched;
    QueryPerformanceCounter(&launched);
    double start = now();
    Launched program(exe);
    if (timeline != nullptr) SetEnvironmentVariableW(L"VANTOR_TIMELINE", nullptr);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.pid());
    WaitForInputIdle(process, 20000);
    HWND window = nullptr;
    while ((window = shownWindowOf(program.pid())) == nullptr && now() - start < 20000) Sleep(1);
    program.waitIdle();
    run.startupMs = now() - start;
    if (record != nullptr) {
        // The idle mark is written before the program first waits for a message.
        auto idleMarked = [record] {
            for (LONG i = 0; i < marksWritten(*record); ++i) {
                if (std::string(record->marks[i].step) == "idle") return true;
            }
            return false;
        };
        while (!idleMarked() && now() - start < 20000) Sleep(1);
        for (LONG i = 0; i < marksWritten(*record); ++i) {
            const TimelineMark& mark = record->marks[i];
            std::string key = mark.step;
            if (mark.subject[0] != '\0') key += std::string(" ") + mark.subject;
            const double at = static_cast<double>(mark.counter - launched.QuadPart) / frequencyPerMs();
            timeline->emplace(key, at);  // the first one of each step stays
        }
    }
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
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    run.privateKb = static_cast<double>(counters.PagefileUsage) / 1024.0;
    run.workingSetKb = static_cast<double>(counters.WorkingSetSize) / 1024.0;
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    program.waitForExit(20000);
    if (record != nullptr) UnmapViewOfFile(record);
    if (section != nullptr) CloseHandle(section);
    return run;
}

std::vector<double> values(const std::vector<Run>& runs, double Run::*field) {
    std::vector<double> result;
    for (const Run& r : runs) result.push_back(r.*field);
    return result;
}

// Ratios of runs started one after the other, so drift hits both alike.
std::vector<double> pairedRatios(const std::vector<Run>& runs, const std::vector<Run>& baselines, double Run::*field) {
    std::vector<double> result;
    for (std::size_t i = 0; i < runs.size() && i < baselines.size(); ++i) {
        if (baselines[i].*field > 0) result.push_back(runs[i].*field / (baselines[i].*field));
    }
    return result;
}

void report(const char* figure, const char* unit, const std::vector<Run>& program, const std::vector<Run>& bare,
            const std::vector<Run>& floor, double Run::*field, const char* target) {
    const std::vector<double> p = values(program, field), b = values(bare, field), f = values(floor, field);
    const double bareMedian = median(b), floorMedian = median(f);
    std::printf("%-14s %10.3f %-2s  bare %10.3f  ratio %6.3f  floor %10.3f  ratio %6.3f   target %s\n", figure,
                median(p), unit, bareMedian, bareMedian > 0 ? median(p) / bareMedian : 0.0, floorMedian,
                floorMedian > 0 ? median(p) / floorMedian : 0.0, target);
    const std::vector<double> toBare = pairedRatios(program, bare, field), toFloor = pairedRatios(program, floor, field);
    std::printf("  spread (25th-75th)  program %.3f-%.3f  bare %.3f-%.3f  floor %.3f-%.3f; start by start: "
                "to bare %.3f (%.3f-%.3f), to floor %.3f (%.3f-%.3f)\n",
                quantile(p, 0.25), quantile(p, 0.75), quantile(b, 0.25), quantile(b, 0.75), quantile(f, 0.25),
                quantile(f, 0.75), median(toBare), quantile(toBare, 0.25), quantile(toBare, 0.75), median(toFloor),
                quantile(toFloor, 0.25), quantile(toFloor, 0.75));
}

// A GBK text as UTF-8, for the terminal the bench prints to.
std::string utf8(const std::string& gbk) {
    const int units = MultiByteToWideChar(936, 0, gbk.c_str(), -1, nullptr, 0);
    if (units <= 0) return gbk;
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(936, 0, gbk.c_str(), -1, wide.data(), units);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return gbk;
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, result.data(), bytes, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(bytes - 1));
    return result;
}

void printTimeline(const std::vector<Timeline>& timelines, const std::vector<Run>& traced) {
    std::map<std::string, std::vector<double>> times;
    for (const Timeline& t : timelines) {
        for (const auto& [step, at] : t) times[step].push_back(at);
    }
    std::vector<std::pair<double, std::string>> rows;
    for (const auto& [step, at] : times) rows.emplace_back(median(at), step);
    std::sort(rows.begin(), rows.end());
    std::printf("start-up timeline of the trace build, ms from process creation (median, 25th-75th, of %zu starts)\n",
                timelines.size());
    for (const auto& [at, step] : rows) {
        const std::vector<double>& all = times[step];
        std::string label = utf8(step);
        std::printf("  %8.1f  %8.1f-%-8.1f %s%s\n", at, quantile(all, 0.25), quantile(all, 0.75), label.c_str(),
                    all.size() < timelines.size() ? "  (not in every start)" : "");
    }
    std::printf("  %8.1f  %8.1f-%-8.1f %s\n", median(values(traced, &Run::startupMs)),
                quantile(values(traced, &Run::startupMs), 0.25), quantile(values(traced, &Run::startupMs), 0.75),
                "driver sees the window shown and idle");
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: bench_driver PROGRAM.exe BARE.exe FLOOR.exe TRACE.exe ASSETS_DIR [REPETITIONS]\n");
        return 2;
    }
    const int repetitions = argc > 6 ? _wtoi(argv[6]) : 15;
    const int clicks = 51;
    std::vector<Run> program, bare, floor, traced;
    std::vector<Timeline> timelines;
    for (int i = 0; i < repetitions; ++i) {  // in turn, so drift hits all alike
        program.push_back(measure(argv[1], clicks));
        bare.push_back(measure(argv[2], clicks));
        floor.push_back(measure(argv[3], clicks));
        timelines.emplace_back();
        traced.push_back(measure(argv[4], 0, &timelines.back()));
    }
    std::printf("median of %d starts of each (%d click round trips each)\n", repetitions, clicks);
    report("start-up", "ms", program, bare, floor, &Run::startupMs, "ratio to bare <= 1.15");
    report("query click", "ms", program, bare, floor, &Run::clickMs, "<= 1 ms, ratio to bare <= 2");
    report("private bytes", "KB", program, bare, floor, &Run::privateKb, "<= bare + 2048 KB");
    report("working set", "KB", program, bare, floor, &Run::workingSetKb, "<= bare + 2048 KB");
    std::printf("\n");
    printTimeline(timelines, traced);

    // Decoding: the five pictures, read once, decoded again and again.
    std::string assets;
    for (const wchar_t* p = argv[5]; *p != 0; ++p) assets += static_cast<char>(*p);
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
    std::printf("\n%-14s %10.3f ms   (all five pictures, median of 51, under Wine)\n", "decoding", median(decodes));
    return 0;
}
