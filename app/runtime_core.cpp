// The portable core of the runtime layer: event bindings, the blocked flag, the
// end-of-run routine, fatal errors and the ledger of memory blocks. Everything
// platform-specific goes through the Host.
#include "app/runtime_core.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <new>

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
}

void initRuntime() {
    host().enterExecutableDirectory();
    host().takeGuiThread();
    if (!readDescription()) fatalError(0, "载入窗口模板数据段出错!");
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
    raiseWindowEvent(Event::created);
    if (!host().windowExists()) return;
    raiseWindowEvent(Event::loaded);
    if (!host().windowExists()) return;
    raiseWindowEvent(Event::beforeShow);
    if (!host().windowExists()) return;
    if (rt.layout.description->entries[0].visible) host().showWindow();
}

void runEventLoop() {
    if (!host().windowExists()) return;
    host().runMessageLoop();
}

void dispatchEvent(std::size_t entry, Event event) {
    if (rt.blocked || entry >= rt.bindings.size()) return;
    Routine handler = rt.bindings[entry][static_cast<std::size_t>(event)];
    if (handler != nullptr) handler();
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

std::string composeErrorText(int code, const char* message) {
    std::string text = "运行时出错!\r\n\r\n";
    if (code != 0) text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
    if (message != nullptr && message[0] != '\0') text += std::string("错误信息：") + message + "\r\n";
    return text;
}

void fatalError(int code, const char* message) {
    rt.blocked = true;
    std::string text = composeErrorText(code, message);
    host().showErrorBox(text.c_str());
    rt.endOfRun = nullptr;
    dropDescription();
    host().releaseResources();
    host().endProcess(-1);
    // The compiler does not take [[noreturn]] from a call through a virtual
    // function; a host whose endProcess came back would end here.
    std::abort();
}

void raiseRuntimeError(int code) {
    fatalError(code, runtimeErrorMessage(code));
}

void* allocateBlock(std::size_t bytes) {
    void* memory = bytes <= SIZE_MAX - sizeof(BlockHeader) ? host().obtainMemory(sizeof(BlockHeader) + bytes) : nullptr;
    if (memory == nullptr) {
        std::string message = "分配 " + std::to_string(bytes) + " 字节内存失败!";
        fatalError(0, message.c_str());
    }
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
