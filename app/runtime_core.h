// The portable core of the runtime layer and the interface of the platform host
// beneath it.
//
// The core owns the policy: which handler an event reaches, when handlers are
// blocked, the end-of-run routine, the text of a fatal error and the ledger of
// memory blocks. The host owns the platform: windows, the message loop, the error
// box and the end of the process. The Win32 host lives in app/win32_host.cpp; the
// tests drive the core through a small fake host.
#pragma once

#include "app/runtime.h"
#include "ui/window_description.h"

#include <cstddef>
#include <string>
#include <vector>

struct HandlerName {
    const char* name;
    Routine routine;
};

struct HandlerTable {
    const HandlerName* entries;
    std::size_t count;
};

class Host {
public:
    virtual ~Host() = default;

    virtual void enterExecutableDirectory() = 0;
    virtual void takeGuiThread() = 0;
    // Builds the window hidden, with every control; false when any part fails
    // (whatever was built is then torn down again). The host keeps its own copy
    // of the layout for the window's life: the core drops its one at shutdown and
    // on a fatal error, while the window may still be live.
    virtual bool buildWindow(ResolvedLayout layout) = 0;
    virtual bool windowExists() const = 0;
    // Shows the window in its normal state and activates it.
    virtual void showWindow() = 0;
    // Returns when the quit request is taken from the queue.
    virtual void runMessageLoop() = 0;
    virtual std::string readText(std::size_t entry, Property property) = 0;
    virtual void writeText(std::size_t entry, Property property, const char* text) = 0;
    // Modal, owner-less, caption "错误", error icon, one OK button.
    virtual void showErrorBox(const char* text) = 0;
    // Releases whatever the host still holds (the window, if it still exists).
    virtual void releaseResources() = 0;
    [[noreturn]] virtual void endProcess(int code) = 0;

    // Raw memory behind allocateBlock; null when none can be had.
    virtual void* obtainMemory(std::size_t bytes);
    virtual void returnMemory(void* memory);
};

// What the core runs on: set once by the process start, before startProgram.
void useRuntime(Host& host, const WindowDescription& description, HandlerTable handlers);

// Called by the host for every event a control raises; runs the bound handler at
// once unless handlers are blocked. One handler at a time: an event raised while
// a handler runs (a message pumped inside it, by the shell's DDE or COM say) waits
// until that handler has returned, and then runs, in the order raised, unless
// handlers have been blocked in the meantime.
void dispatchEvent(std::size_t entry, Event event);

// The normal shutdown after startProgram has returned: blocks handlers, drops the
// description, runs the end-of-run routine once and releases the host's resources.
// Returns the process exit code.
int finishRun(int exitCode);

// The fatal error: blocks handlers, shows the composed text, throws the end-of-run
// routine away and ends the process with exit code -1. Nothing on this path
// allocates memory, so it also serves when memory is exhausted; a fatal error
// raised while one is already under way ends the process at once.
[[noreturn]] void fatalError(int code, const char* message);

// The fatal error for memory that cannot be had: "分配 N 字节内存失败!" with the
// requested byte count. Used by allocateBlock and by the program's global
// operator new.
[[noreturn]] void memoryExhausted(std::size_t bytes);

// "运行时出错!" with the optional code and message lines, CR LF line ends, held in
// a fixed buffer (a message too long for it is cut at a character boundary).
struct ErrorText {
    char text[512];
};
ErrorText composeErrorText(int code, const char* message);

// The message that belongs to a runtime error code ("" for an unknown code).
const char* runtimeErrorMessage(int code);

// Blocks handed out by allocateBlock and not yet released.
std::size_t liveBlockCount();
