// The program's texts are GBK; Win32 gets them through the wide API, converted
// with code page 936 explicitly, so they show correctly whatever the system code
// page is.
#pragma once

#include <string>

#include <cstddef>

std::wstring widen(const char* gbk);
std::string narrow(const wchar_t* wide);
// Into a caller's buffer, without allocating; empty when it does not fit. A GBK
// text never has more UTF-16 units than bytes, so bytes + 1 units always suffice.
void widenInto(const char* gbk, wchar_t* wide, std::size_t capacity);
