// Loads a DLL by bare name, as a program does for a DLL it needs later, with or
// without the program's DLL search restriction in force.
//   dll_search_probe.exe restricted|unrestricted NAME.dll
// Exit code 0: the DLL was loaded; 1: it was not.
#include "app/win32_host.h"

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    if (std::wcscmp(argv[1], L"restricted") == 0) restrictDllSearch();
    return LoadLibraryW(argv[2]) != nullptr ? 0 : 1;
}
