// The program throws and catches no exceptions. Memory that cannot be had ends it
// the one way every fatal failure does: the global allocation functions below
// replace the C++ library's, and a request they cannot meet is the fatal error
// "分配 N 字节内存失败!" with the size asked for and exit code -1 (memoryExhausted,
// which composes its text without allocating). The nothrow forms answer null, as
// their callers expect. The library's throw helpers and its terminate handler,
// which only a broken invariant could still reach, end the process at once.
//
// So no exception is ever thrown, and the library's exception classes (bad_alloc
// and the rest), their strings and the name demangler stay out of the executable
// (about a fifth of its size). What stays is the unwinder's personality routine,
// which code compiled with exceptions enabled refers to (the core is shared with
// the tests, which throw through it), and with it __cxa_throw, called only from
// the personality routine's own paths for an exception already in flight.
// Linked into the program only, never into the tests, which rely on exceptions.
#include "app/runtime_core.h"

#include <cstdlib>
#include <new>

#include <malloc.h>

namespace {

void* obtain(std::size_t bytes) {
    return std::malloc(bytes != 0 ? bytes : 1);
}

void* obtainOrFail(std::size_t bytes) {
    void* memory = obtain(bytes);
    if (memory == nullptr) memoryExhausted(bytes);
    return memory;
}

void* obtainAligned(std::size_t bytes, std::align_val_t alignment) {
    return _aligned_malloc(bytes != 0 ? bytes : 1, static_cast<std::size_t>(alignment));
}

void* obtainAlignedOrFail(std::size_t bytes, std::align_val_t alignment) {
    void* memory = obtainAligned(bytes, alignment);
    if (memory == nullptr) memoryExhausted(bytes);
    return memory;
}

}  // namespace

void* operator new(std::size_t bytes) {
    return obtainOrFail(bytes);
}
void* operator new[](std::size_t bytes) {
    return obtainOrFail(bytes);
}
void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    return obtain(bytes);
}
void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return obtain(bytes);
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void* operator new(std::size_t bytes, std::align_val_t alignment) {
    return obtainAlignedOrFail(bytes, alignment);
}
void* operator new[](std::size_t bytes, std::align_val_t alignment) {
    return obtainAlignedOrFail(bytes, alignment);
}
void* operator new(std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return obtainAligned(bytes, alignment);
}
void* operator new[](std::size_t bytes, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return obtainAligned(bytes, alignment);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    _aligned_free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    _aligned_free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    _aligned_free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    _aligned_free(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    _aligned_free(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    _aligned_free(memory);
}

namespace std {
[[noreturn]] void __throw_bad_alloc() {
    std::abort();
}
[[noreturn]] void __throw_bad_array_new_length() {
    std::abort();
}
[[noreturn]] void __throw_length_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_logic_error(const char*) {
    std::abort();
}
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) {
    std::abort();
}
}  // namespace std

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
