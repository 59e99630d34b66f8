// The portable core of the runtime layer: event bindings, the blocked flag, the
// end-of-run routine, fatal errors and the ledger of memory blocks. Everything
// platform-specific goes through the Host.
#include "app/runtime_core.h"

#include "ui/timeline.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Every block allocateBlock hands out starts with this header and sits in a
// doubly linked list, so releaseBlock can tell its own blocks from anything else.
struct alignas(std::max_align_t) BlockHeader {
    BlockHeader* prev;
    BlockHeader* next;
};

struct Runtime {
    Host* host = nullptr;
    const WindowDescription* description = nullptr;
    HandlerTable handlers{nullptr, 0};
    ResolvedLayout layout{nullptr, {}};
    std::vector<std::array<Routine, kEventCount>> bindings;
    Routine endOfRun = nullptr;
    bool blocked = false;
    bool failing = false;  // a fatal error is being reported
    bool handlerRunning = false;
    std::vector<std::pair<std::size_t, Event>> waiting;  // raised while a handler ran
    BlockHeader* newestBlock = nullptr;
    std::size_t liveBlocks = 0;
};

Runtime rt;

Host& host() {
    return *rt.host;
}

Routine findHandler(const char* name) {
    for (std::size_t i = 0; i < rt.handlers.count; ++i) {
        if (std::strcmp(rt.handlers.entries[i].name, name) == 0) return rt.handlers.entries[i].routine;
    }
    return nullptr;
}

int findEntry(const char* name) {
    const WindowDescription* d = rt.description;
    if (d == nullptr) return -1;
    for (std::size_t i = 1; i < d->count; ++i) {
        if (std::strcmp(d->entries[i].name, name) == 0) return static_cast<int>(i);
    }
    return -1;
}

// Resolves parents and bindings; false when the description cannot be read.
bool readDescription() {
    const WindowDescription* d = rt.description;
    if (d == nullptr || d->count == 0 || !propsOf<WindowProps>(d->entries[0])) return false;
    rt.layout = {d, std::vector<int>(d->count, 0)};
    rt.bindings.assign(d->count, {});
    rt.layout.parents[0] = -1;
    for (std::size_t i = 0; i < d->count; ++i) {
        const ControlEntry& e = d->entries[i];
        if (i > 0 && e.parent[0] != '\0') {
            int parent = findEntry(e.parent);
            if (parent < 0 || !propsOf<PicBoxProps>(d->entries[parent])) return false;
            rt.layout.parents[i] = parent;
        }
        for (std::size_t b = 0; b < e.bindingCount; ++b) {
            Routine routine = findHandler(e.bindings[b].handler);
            if (routine == nullptr) return false;
            rt.bindings[i][static_cast<std::size_t>(e.bindings[b].event)] = routine;
        }
    }
    return true;
}

void dropDescription() {
    rt.bindings.clear();
    rt.layout = {nullptr, {}};
    rt.description = nullptr;
}

void raiseWindowEvent(Event event) {
    dispatchEvent(0, event);
}

}  // namespace

void* Host::obtainMemory(std::size_t bytes) {
    return std::malloc(bytes);
}

void Host::returnMemory(void* memory) {
    std::free(memory);
}

void useRuntime(Host& h, const WindowDescription& description, HandlerTable handlers) {
    rt.host = &h;
    rt.description = &description;
    rt.handlers = handlers;
    rt.endOfRun = nullptr;
    rt.blocked = false;
    rt.failing = false;
    rt.handlerRunning = false;
    rt.waiting.clear();
}

void initRuntime() {
    host().enterExecutableDirectory();
    host().takeGuiThread();
    if (!readDescription()) fatalError(0, "载入窗口模板数据段出错!");
    markStep("runtime ready");
}

void setEndOfRunRoutine(Routine routine) {
    rt.endOfRun = routine;
}

void openStartupWindow() {
    if (rt.layout.description == nullptr) fatalError(0, "载入启动窗口失败");
    rt.blocked = true;
    bool built = host().buildWindow(rt.layout);
    rt.blocked = false;
    if (!built) fatalError(0, "载入启动窗口失败");
    markStep("window built");
    raiseWindowEvent(Event::created);
    markStep("created handled");
    if (!host().windowExists()) return;
    raiseWindowEvent(Event::loaded);
    if (!host().windowExists()) return;
    raiseWindowEvent(Event::beforeShow);
    if (!host().windowExists()) return;
    if (rt.layout.description->entries[0].visible) host().showWindow();
    markStep("window shown");
}

void runEventLoop() {
    if (!host().windowExists()) return;
    host().runMessageLoop();
}

namespace {

// The handler bound to the event, or null when none may run now.
Routine boundHandler(std::size_t entry, Event event) {
    if (rt.blocked || entry >= rt.bindings.size()) return nullptr;
    return rt.bindings[entry][static_cast<std::size_t>(event)];
}

// Marks a handler as running for as long as it exists.
class HandlerRun {
public:
    HandlerRun() { rt.handlerRunning = true; }
    ~HandlerRun() {
        rt.handlerRunning = false;
        rt.waiting.clear();
    }
    HandlerRun(const HandlerRun&) = delete;
    HandlerRun& operator=(const HandlerRun&) = delete;
};

}  // namespace

void dispatchEvent(std::size_t entry, Event event) {
    Routine handler = boundHandler(entry, event);
    if (handler == nullptr) return;
    if (rt.handlerRunning) {
        rt.waiting.emplace_back(entry, event);
        return;
    }
    HandlerRun run;
    handler();
    // Events raised meanwhile, including by the handlers run here.
    for (std::size_t i = 0; i < rt.waiting.size(); ++i) {
        const auto [waitingEntry, waitingEvent] = rt.waiting[i];
        if (Routine next = boundHandler(waitingEntry, waitingEvent)) next();
    }
}

char* readProperty(const char* controlName, Property property) {
    int entry = findEntry(controlName);
    if (entry < 0) return nullptr;
    std::string text = host().readText(static_cast<std::size_t>(entry), property);
    if (text.empty()) return nullptr;
    char* copy = static_cast<char*>(allocateBlock(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

void writeProperty(const char* controlName, Property property, const char* text) {
    int entry = findEntry(controlName);
    if (entry < 0) return;
    host().writeText(static_cast<std::size_t>(entry), property, text != nullptr ? text : "");
}

int finishRun(int exitCode) {
    rt.blocked = true;
    dropDescription();
    Routine routine = rt.endOfRun;
    rt.endOfRun = nullptr;
    if (routine != nullptr) routine();
    host().releaseResources();
    return exitCode;
}

const char* runtimeErrorMessage(int code) {
    switch (code) {
    case 1: return "数组成员引用下标超出定义范围";
    case 4: return "数组成员引用下标必须大于等于1";
    default: return "";
    }
}

namespace {

// Appends to a fixed buffer, never past its end and never splitting a GBK
// character; once a piece has been cut, nothing more is appended. The text stays
// NUL-terminated.
class FixedText {
public:
    FixedText(char* buffer, std::size_t capacity) : buffer_(buffer), capacity_(capacity) { buffer_[0] = '\0'; }

    FixedText& operator<<(const char* text) {
        for (const char* p = text; *p != '\0' && !cut_; ++p) {
            const bool lead = (static_cast<unsigned char>(*p) & 0x80) != 0 && p[1] != '\0';
            cut_ = length_ + (lead ? 2 : 1) >= capacity_;
            if (cut_) break;
            buffer_[length_++] = *p;
            if (lead) buffer_[length_++] = *++p;
        }
        buffer_[length_] = '\0';
        return *this;
    }
    // In decimal, with a minus sign when `negative`.
    FixedText& number(unsigned long long magnitude, bool negative = false) {
        char digits[24];
        char* p = digits + sizeof digits;
        *--p = '\0';
        do *--p = static_cast<char>('0' + magnitude % 10);
        while ((magnitude /= 10) != 0);
        if (negative) *--p = '-';
        return *this << p;
    }

private:
    char* buffer_;
    std::size_t capacity_;
    std::size_t length_ = 0;
    bool cut_ = false;
};

}  // namespace

ErrorText composeErrorText(int code, const char* message) {
    ErrorText result;
    FixedText text(result.text, sizeof result.text);
    text << "运行时出错!\r\n\r\n";
    if (code != 0) {
        const long long value = code;
        text << "错误代码：";
        text.number(static_cast<unsigned long long>(value < 0 ? -value : value), value < 0) << "\r\n\r\n";
    }
    if (message != nullptr && message[0] != '\0') text << "错误信息：" << message << "\r\n";
    return result;
}

void fatalError(int code, const char* message) {
    // A second fatal error while the first is being reported (memory exhausted
    // again, say) ends the process without a second box.
    // Memory exhausted before the process start has set up the runtime (in a
    // static constructor) finds no host to report it.
    if (rt.host == nullptr) std::abort();
    if (rt.failing) {
        rt.failing = false;
        host().endProcess(-1);
    }
    rt.failing = true;
    rt.blocked = true;
    const ErrorText text = composeErrorText(code, message);
    host().showErrorBox(text.text);
    rt.endOfRun = nullptr;
    dropDescription();
    host().releaseResources();
    rt.failing = false;  // nothing of the program runs from here on
    host().endProcess(-1);
    // The compiler does not take [[noreturn]] from a call through a virtual
    // function; a host whose endProcess came back would end here.
    std::abort();
}

void memoryExhausted(std::size_t bytes) {
    char message[64];
    FixedText text(message, sizeof message);
    text << "分配 ";
    text.number(bytes) << " 字节内存失败!";
    fatalError(0, message);
}

void raiseRuntimeError(int code) {
    fatalError(code, runtimeErrorMessage(code));
}

void* allocateBlock(std::size_t bytes) {
    void* memory = bytes <= SIZE_MAX - sizeof(BlockHeader) ? host().obtainMemory(sizeof(BlockHeader) + bytes) : nullptr;
    if (memory == nullptr) memoryExhausted(bytes);
    auto* header = new (memory) BlockHeader{nullptr, rt.newestBlock};
    if (rt.newestBlock != nullptr) rt.newestBlock->prev = header;
    rt.newestBlock = header;
    ++rt.liveBlocks;
    return header + 1;
}

void releaseBlock(void* block) {
    if (block == nullptr) return;
    BlockHeader* header = rt.newestBlock;
    while (header != nullptr && header + 1 != block) header = header->next;
    if (header == nullptr) return;
    if (header->prev != nullptr) header->prev->next = header->next;
    else rt.newestBlock = header->next;
    if (header->next != nullptr) header->next->prev = header->prev;
    --rt.liveBlocks;
    host().returnMemory(header);
}

std::size_t liveBlockCount() {
    return rt.liveBlocks;
}
