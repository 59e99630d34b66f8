// The formation query. Each test reads its selector anew through the runtime
// layer, as the handler has no state of its own; every text read is released as
// soon as it has been used.
#include "lookup/formation_query.h"

#include "app/runtime.h"
#include "lookup/formation_table.h"
#include "lookup/text_to_number.h"

#include <cmath>
#include <cstring>

namespace {

const char* const kKindSelector = "种类";
const char* const kLevelSelector = "等级";
const char* const kResultLabels[kFieldCount] = {"元素1", "元素2", "元素3"};
constexpr double kLevelTolerance = 1e-7;

// A text read from a selector, released when it goes out of scope.
class SelectorText {
public:
    explicit SelectorText(const char* selector) : text_(readProperty(selector, Property::content)) {}
    ~SelectorText() { releaseBlock(text_); }
    SelectorText(const SelectorText&) = delete;
    SelectorText& operator=(const SelectorText&) = delete;

    const char* str() const { return text_ != nullptr ? text_ : ""; }

private:
    char* text_;
};

bool kindSelected(std::size_t kind) {
    SelectorText text(kKindSelector);
    return std::strcmp(text.str(), kKindNames[kind]) == 0;
}

double selectedLevel() {
    SelectorText text(kLevelSelector);
    return textToNumber(text.str());
}

void writeRow(std::size_t kind, long row) {
    for (long field = 0; field < static_cast<long>(kFieldCount); ++field) {
        const char* text = tableEntry(kind, 3 * row - 2 + field);
        writeProperty(kResultLabels[field], Property::caption, text);
    }
}

}  // namespace

void queryFormation() {
    for (std::size_t kind = 0; kind < kKindCount; ++kind) {
        if (!kindSelected(kind)) continue;
        for (long row = 1; row <= static_cast<long>(kRowCount); ++row) {
            double target = 10.0 * static_cast<double>(row);
            if (std::fabs(target - selectedLevel()) <= kLevelTolerance) writeRow(kind, row);
        }
    }
}
