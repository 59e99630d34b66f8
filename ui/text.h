// The program's texts are GBK; Win32 gets them through the wide API, converted
// with code page 936 explicitly, so they show correctly whatever the system code
// page is.
#pragma once

#include <string>

std::wstring widen(const char* gbk);
std::string narrow(const wchar_t* wide);
