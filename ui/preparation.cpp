#include "ui/preparation.h"

#include "ui/control.h"
#include "ui/text.h"
#include "ui/timeline.h"

#include <algorithm>
#include <iterator>
#include <utility>

Preparation::Preparation(const WindowDescription& description, std::vector<std::size_t> order)
    : description_(description), order_(std::move(order)), parts_(description.count) {}

Preparation::~Preparation() {
    if (thread_ == nullptr) return;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

bool Preparation::start() {
    thread_ = CreateThread(nullptr, 0, &Preparation::run, this, 0, nullptr);
    return thread_ != nullptr;
}

bool Preparation::take(std::size_t entry, PreparedParts& parts) {
    const auto at = std::find(order_.begin(), order_.end(), entry);
    if (at == order_.end()) return false;
    const auto position = static_cast<std::size_t>(at - order_.begin());
    AcquireSRWLockExclusive(&lock_);
    if (ready_ <= position && !failed_) markStep("waits for parts", description_.entries[entry].name);
    while (ready_ <= position && !failed_) SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
    const bool ready = ready_ > position;
    ReleaseSRWLockExclusive(&lock_);
    if (ready) parts = std::move(parts_[entry]);
    return ready;
}

DWORD WINAPI Preparation::run(void* self) {
    auto& preparation = *static_cast<Preparation*>(self);
    if (!preparation.prepareAll()) {
        AcquireSRWLockExclusive(&preparation.lock_);
        preparation.failed_ = true;
        ReleaseSRWLockExclusive(&preparation.lock_);
        WakeAllConditionVariable(&preparation.changed_);
    }
    return 0;
}

bool Preparation::prepareAll() {
    // One off-screen canvas, as large as the largest control, to draw every text in.
    int width = 1, height = 1;
    for (std::size_t i = 1; i < description_.count; ++i) {
        const ControlEntry& e = description_.entries[i];
        if (propsOf<PicBoxProps>(e) != nullptr) continue;
        width = std::max(width, e.width);
        height = std::max(height, e.height);
    }
    Canvas scratch(width, height);
    if (scratch.dc() == nullptr) return false;
    for (std::size_t i : order_) {
        prepare(i, scratch.dc());
        AcquireSRWLockExclusive(&lock_);
        ++ready_;
        ReleaseSRWLockExclusive(&lock_);
        WakeAllConditionVariable(&changed_);
    }
    return true;
}

namespace {

// Draws a text once in the font, as a control would, so the glyphs are cached.
void drawOnce(HDC dc, HFONT font, const char* gbk, int width, int height, UINT format) {
    wchar_t text[512];
    widenInto(gbk, text, std::size(text));
    if (text[0] == L'\0') return;
    SelectedObject selected(dc, font);
    RECT area{0, 0, width, height};
    DrawTextW(dc, text, -1, &area, format | DT_NOPREFIX);
}

int textHeightOf(HDC dc, HFONT font) {
    SelectedObject selected(dc, font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    return metrics.tmHeight;
}

}  // namespace

void Preparation::prepare(std::size_t entry, HDC scratch) {
    const ControlEntry& e = description_.entries[entry];
    PreparedParts& parts = parts_[entry];
    if (const auto* panel = propsOf<PicBoxProps>(e)) {
        parts.picture = loadPicture(panel->picture);
        markStep("picture decoded", e.name);
    } else if (const auto* button = propsOf<ButtonProps>(e)) {
        parts.picture = loadPicture(button->picture);
        if (parts.picture) markStep("picture decoded", e.name);
        parts.font = makeFont(button->font);
        if (parts.font) markStep("font made", e.name);
        if (!parts.picture) {
            drawOnce(scratch, fontOrDefault(parts.font), button->caption, e.width, e.height, DT_WORDBREAK);
            markStep("text drawn", e.name);
        }
    } else if (const auto* selector = propsOf<ComboBoxProps>(e)) {
        parts.font = makeFont(selector->font);
        markStep("font made", e.name);
        parts.textHeight = textHeightOf(scratch, fontOrDefault(parts.font));
        for (std::size_t item = 0; item < selector->itemCount; ++item) {
            drawOnce(scratch, fontOrDefault(parts.font), selector->items[item], e.width, e.height, DT_SINGLELINE);
        }
        markStep("text drawn", e.name);
    } else if (const auto* label = propsOf<TransLabelProps>(e)) {
        parts.font = makeFont(label->font);
        markStep("font made", e.name);
        drawOnce(scratch, fontOrDefault(parts.font), label->caption, e.width, e.height,
                 label->wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
        markStep("text drawn", e.name);
    }
}
