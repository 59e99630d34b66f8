// The operations every handler of the program relies on: control properties by
// name, fatal errors, memory blocks and the end-of-run routine.
//
// Texts are NUL-terminated GBK byte strings. Handlers run one at a time on the GUI
// thread; nothing here is thread-safe, and nothing needs to be.
//
// This header is portable: the formation lookup uses it and is built and tested on
// Linux as well as Windows.
#pragma once

#include "ui/window_description.h"

#include <cstddef>

using Routine = void (*)();

// Start-up steps, in the order the start routine calls them.
void initRuntime();
void setEndOfRunRoutine(Routine routine);
void openStartupWindow();
void runEventLoop();

// A new text owned by the caller (release it with releaseBlock), or null when the
// property's text is empty.
char* readProperty(const char* controlName, Property property);
// The control keeps its own copy; null counts as the empty text.
void writeProperty(const char* controlName, Property property, const char* text);

// Fatal error with one of the runtime error codes; never returns.
[[noreturn]] void raiseRuntimeError(int code);

// Never returns without a block: exhausted memory is a fatal error.
void* allocateBlock(std::size_t bytes);
// Null, and anything that allocateBlock did not hand out (such as the program's
// constant data), is left alone.
void releaseBlock(void* block);
