// Benchmarks of the query handler on a fake host and of the decoder on the
// program's pictures. Each benchmark first checks that what it times does its
// work (the query writes its row, every picture decodes) and reports an error
// instead of a figure when it does not.
#include "app/runtime_core.h"
#include "lookup/formation_query.h"
#include "lookup/formation_table.h"
#include "tests/unit/fake_host.h"
#include "ui/picture.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace {

void doNothing() {}

const HandlerName kHandlerNames[] = {
    {"fillFormationTables", fillFormationTables},
    {"queryFormation", queryFormation},
    {"openMoreToolsPage", doNothing},
    {"openForumPage", doNothing},
    {"openGuidesPage", doNothing},
};
const HandlerTable kHandlers{kHandlerNames, std::size(kHandlerNames)};

// The fake host, except that writes are counted rather than logged, so that the
// log does not grow with the iterations.
class BenchHost : public FakeHost {
public:
    long writeCount = 0;
    void writeText(std::size_t entry, Property property, const char* text) override {
        texts[{entry, property}] = text;
        ++writeCount;
    }
};

// The core running on a bench host with filled tables, as after the window's
// created event.
struct QuerySetup {
    BenchHost host;
    std::size_t kindSelector = entryIndex("种类");
    std::size_t levelSelector = entryIndex("等级");
    std::size_t troopsLabel = entryIndex("元素1");
    std::vector<std::string> levels;

    QuerySetup() {
        useRuntime(host, kMainWindow, kHandlers);
        releaseTables();
        createEmptyTables();
        fillFormationTables();
        for (std::size_t row = 0; row < kRowCount; ++row) levels.push_back(std::to_string(10 * (row + 1)));
    }
    ~QuerySetup() { releaseTables(); }

    void select(std::size_t kind, std::size_t row) {
        host.texts[{kindSelector, Property::content}] = kKindNames[kind];
        host.texts[{levelSelector, Property::content}] = levels[row];
    }
    // The troops the last query showed are those of this kind and row.
    bool showsRow(std::size_t kind, std::size_t row) {
        return host.texts[{troopsLabel, Property::caption}] == tableEntry(kind, static_cast<long>(3 * row + 1));
    }
};

void BM_QueryFormation(benchmark::State& state) {
    QuerySetup setup;
    setup.select(0, 0);
    queryFormation();
    if (setup.host.writeCount != 3 || !setup.showsRow(0, 0)) {
        state.SkipWithError("the query did not write the selected row");
        return;
    }
    for (auto _ : state) queryFormation();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()));
}
BENCHMARK(BM_QueryFormation);

// Every kind at every level, one query each: 44 queries an iteration.
void BM_QueryFormationAllSelections(benchmark::State& state) {
    QuerySetup setup;
    for (std::size_t kind = 0; kind < kKindCount; ++kind) {
        for (std::size_t row = 0; row < kRowCount; ++row) {
            setup.select(kind, row);
            setup.host.writeCount = 0;
            queryFormation();
            if (setup.host.writeCount != 3 || !setup.showsRow(kind, row)) {
                state.SkipWithError("a query did not write the selected row");
                return;
            }
        }
    }
    for (auto _ : state) {
        for (std::size_t kind = 0; kind < kKindCount; ++kind) {
            for (std::size_t row = 0; row < kRowCount; ++row) {
                setup.select(kind, row);
                queryFormation();
            }
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kKindCount * kRowCount));
}
BENCHMARK(BM_QueryFormationAllSelections);

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The program's five pictures, each decoded once an iteration.
void BM_DecodePictures(benchmark::State& state) {
    const char* const files[] = {"panel1.jpg", "panel2.jpg", "panel3.jpg", "panel4.jpg", "query_button.jpg"};
    std::vector<std::vector<std::uint8_t>> pictures;
    std::int64_t bytes = 0;
    for (const char* file : files) {
        pictures.push_back(readFile(std::string(ASSETS_DIR "/") + file));
        RgbImage image;
        if (!decodeJpeg(pictures.back().data(), pictures.back().size(), image)) {
            state.SkipWithError((std::string(file) + " does not decode").c_str());
            return;
        }
        bytes += static_cast<std::int64_t>(pictures.back().size());
    }
    RgbImage image;
    for (auto _ : state) {
        for (const auto& picture : pictures) {
            decodeJpeg(picture.data(), picture.size(), image);
            benchmark::DoNotOptimize(image.rgb.data());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * pictures.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * bytes);
}
BENCHMARK(BM_DecodePictures)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
