// code_page_probe.exe OUT - writes the ANSI code page of its own process (GetACP) as
// decimal text to the file OUT. The locale tests start it exactly as they start the
// program, to see which code page the program gets.
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    FILE* out = _wfopen(argv[1], L"w");
    if (out == nullptr) return 1;
    std::fprintf(out, "%u", GetACP());
    return std::fclose(out) == 0 ? 0 : 1;
}
