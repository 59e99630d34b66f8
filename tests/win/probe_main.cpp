// A test build of the program with three probes, set from its environment:
//   VANTOR_FAIL_ALLOCATION=N  the N-th request for memory behind allocateBlock fails;
//   VANTOR_FAIL_MALLOC_BYTES=S  the first call of msvcrt's malloc for exactly S bytes
//   fails, whoever makes it (the program's operator new for a string, say);
//   a message-only window of class "VantorProbe" answers WM_APP with the number of
//   GDI objects the program has made and not yet deleted, counted by intercepting
//   the GDI calls in the program's import table.
// Otherwise it is the program itself.
#include "app/handlers.h"
#include "app/start.h"
#include "app/win32_host.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

// Counted from both of the program's threads: its start-up prepares fonts and
// pictures on a second one.
volatile LONG liveGdiObjects = 0;

// Originals of the intercepted functions.
decltype(&CreateFontW) realCreateFont = nullptr;
decltype(&CreateSolidBrush) realCreateSolidBrush = nullptr;
decltype(&CreateDIBSection) realCreateDIBSection = nullptr;
decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap = nullptr;
decltype(&CreateCompatibleDC) realCreateCompatibleDC = nullptr;
decltype(&DeleteObject) realDeleteObject = nullptr;
decltype(&DeleteDC) realDeleteDC = nullptr;

template <class Handle>
Handle counted(Handle handle) {
    if (handle != nullptr) InterlockedIncrement(&liveGdiObjects);
    return handle;
}

HFONT WINAPI countCreateFont(int h, int w, int e, int o, int weight, DWORD i, DWORD u, DWORD s, DWORD cs, DWORD op,
                             DWORD cp, DWORD q, DWORD pf, LPCWSTR face) {
    return counted(realCreateFont(h, w, e, o, weight, i, u, s, cs, op, cp, q, pf, face));
}
HBRUSH WINAPI countCreateSolidBrush(COLORREF colour) {
    return counted(realCreateSolidBrush(colour));
}
HBITMAP WINAPI countCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                                     DWORD offset) {
    return counted(realCreateDIBSection(dc, info, usage, bits, section, offset));
}
HBITMAP WINAPI countCreateCompatibleBitmap(HDC dc, int width, int height) {
    return counted(realCreateCompatibleBitmap(dc, width, height));
}
HDC WINAPI countCreateCompatibleDC(HDC dc) {
    return counted(realCreateCompatibleDC(dc));
}
BOOL WINAPI countDeleteObject(HGDIOBJ object) {
    BOOL deleted = realDeleteObject(object);
    if (deleted) InterlockedDecrement(&liveGdiObjects);
    return deleted;
}
BOOL WINAPI countDeleteDC(HDC dc) {
    BOOL deleted = realDeleteDC(dc);
    if (deleted) InterlockedDecrement(&liveGdiObjects);
    return deleted;
}

decltype(&std::malloc) realMalloc = nullptr;
std::size_t failingMallocBytes = 0;  // 0: none fails
bool mallocFailed = false;

void* __cdecl failOnceMalloc(std::size_t bytes) {
    if (!mallocFailed && failingMallocBytes != 0 && bytes == failingMallocBytes) {
        mallocFailed = true;
        return nullptr;
    }
    return realMalloc(bytes);
}

struct Interception {
    const char* name;
    void* replacement;
    void** original;
};

template <class F>
void** slot(F* original) {
    return reinterpret_cast<void**>(original);
}

// Points the program's imports of `dll` at the replacements.
template <std::size_t N>
void intercept(const char* dll, const Interception (&interceptions)[N]) {
    auto* base = reinterpret_cast<unsigned char*>(GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name != 0; ++d) {
        if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (const Interception& i : interceptions) {
                if (std::strcmp(reinterpret_cast<const char*>(byName->Name), i.name) != 0) continue;
                DWORD protection;
                VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
                *i.original = reinterpret_cast<void*>(addresses->u1.Function);
                addresses->u1.Function = reinterpret_cast<ULONG_PTR>(i.replacement);
                VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
            }
        }
    }
}

// Points the program's imports of gdi32 at the counting functions.
void interceptGdi() {
    const Interception interceptions[] = {
        {"CreateFontW", reinterpret_cast<void*>(countCreateFont), slot(&realCreateFont)},
        {"CreateSolidBrush", reinterpret_cast<void*>(countCreateSolidBrush), slot(&realCreateSolidBrush)},
        {"CreateDIBSection", reinterpret_cast<void*>(countCreateDIBSection), slot(&realCreateDIBSection)},
        {"CreateCompatibleBitmap", reinterpret_cast<void*>(countCreateCompatibleBitmap),
         slot(&realCreateCompatibleBitmap)},
        {"CreateCompatibleDC", reinterpret_cast<void*>(countCreateCompatibleDC), slot(&realCreateCompatibleDC)},
        {"DeleteObject", reinterpret_cast<void*>(countDeleteObject), slot(&realDeleteObject)},
        {"DeleteDC", reinterpret_cast<void*>(countDeleteDC), slot(&realDeleteDC)},
    };
    intercept("gdi32.dll", interceptions);
}

// Set first, before the program has made anything, so the chosen request cannot
// have passed already.
void interceptMalloc() {
    wchar_t value[32] = {};
    if (GetEnvironmentVariableW(L"VANTOR_FAIL_MALLOC_BYTES", value, 32) == 0) return;
    failingMallocBytes = static_cast<std::size_t>(std::wcstoull(value, nullptr, 10));
    const Interception interceptions[] = {{"malloc", reinterpret_cast<void*>(failOnceMalloc), slot(&realMalloc)}};
    intercept("msvcrt.dll", interceptions);
}

LRESULT CALLBACK probeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP) return liveGdiObjects;
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void createProbeWindow() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = probeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VantorProbe";
    RegisterClassW(&wc);
    CreateWindowW(L"VantorProbe", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

class ProbeHost : public Win32Host {
public:
    explicit ProbeHost(long failAt) : failAt_(failAt) {}
    void* obtainMemory(std::size_t bytes) override {
        if (++requests_ == failAt_) return nullptr;
        return Win32Host::obtainMemory(bytes);
    }

private:
    long failAt_;
    long requests_ = 0;
};

long failingRequest() {
    wchar_t value[32] = {};
    if (GetEnvironmentVariableW(L"VANTOR_FAIL_ALLOCATION", value, 32) == 0) return 0;
    return std::wcstol(value, nullptr, 10);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    restrictDllSearch();
    interceptMalloc();
    interceptGdi();
    createProbeWindow();
    ProbeHost host(failingRequest());
    useRuntime(host, kMainWindow, kProgramHandlers);
    return finishRun(startProgram());
}
