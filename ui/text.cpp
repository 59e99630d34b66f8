#include "ui/text.h"

#include <windows.h>

#include <cwchar>

namespace {
constexpr UINT kGbk = 936;
}

std::wstring widen(const char* gbk) {
    if (gbk == nullptr || *gbk == '\0') return {};
    int length = MultiByteToWideChar(kGbk, 0, gbk, -1, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kGbk, 0, gbk, -1, wide.data(), length);
    wide.resize(static_cast<std::size_t>(length - 1));
    return wide;
}

std::string narrow(const wchar_t* wide) {
    if (wide == nullptr || *wide == L'\0') return {};
    int length = WideCharToMultiByte(kGbk, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string gbk(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kGbk, 0, wide, -1, gbk.data(), length, nullptr, nullptr);
    gbk.resize(static_cast<std::size_t>(length - 1));
    return gbk;
}

void widenInto(const char* gbk, wchar_t* wide, std::size_t capacity) {
    if (capacity == 0) return;
    wide[0] = L'\0';
    if (gbk == nullptr) return;
    const int units = static_cast<int>(capacity < 0x7FFFFFFF ? capacity : 0x7FFFFFFF);
    if (MultiByteToWideChar(kGbk, 0, gbk, -1, wide, units) <= 0) wide[0] = L'\0';
}
