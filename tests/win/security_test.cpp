// The executables as files (PE format, protections, imports) and the program's
// DLL search: a DLL planted beside it is not loaded.
#include "tests/win/support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

std::vector<unsigned char> readAll(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <class T>
T at(const std::vector<unsigned char>& file, std::size_t offset) {
    T value{};
    if (offset + sizeof(T) <= file.size()) std::memcpy(&value, file.data() + offset, sizeof(T));
    return value;
}

struct PeFile {
    WORD machine = 0;
    WORD magic = 0;
    WORD subsystem = 0;
    WORD dllCharacteristics = 0;
    std::vector<IMAGE_SECTION_HEADER> sections;
    std::vector<std::string> imports;  // lower case
};

std::size_t fileOffset(const PeFile& pe, DWORD rva) {
    for (const auto& s : pe.sections) {
        if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData)) {
            return rva - s.VirtualAddress + s.PointerToRawData;
        }
    }
    return static_cast<std::size_t>(-1);
}

PeFile parse(const std::vector<unsigned char>& file) {
    PeFile pe;
    auto nt = at<LONG>(file, offsetof(IMAGE_DOS_HEADER, e_lfanew));
    if (at<WORD>(file, 0) != IMAGE_DOS_SIGNATURE || at<DWORD>(file, nt) != IMAGE_NT_SIGNATURE) return pe;
    auto header = at<IMAGE_FILE_HEADER>(file, nt + 4);
    std::size_t optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    pe.machine = header.Machine;
    pe.magic = at<WORD>(file, optional);
    DWORD importRva = 0;
    if (pe.magic == IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
        auto o = at<IMAGE_OPTIONAL_HEADER32>(file, optional);
        pe.subsystem = o.Subsystem;
        pe.dllCharacteristics = o.DllCharacteristics;
        importRva = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    } else {
        auto o = at<IMAGE_OPTIONAL_HEADER64>(file, optional);
        pe.subsystem = o.Subsystem;
        pe.dllCharacteristics = o.DllCharacteristics;
        importRva = o.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    }
    std::size_t table = optional + header.SizeOfOptionalHeader;
    for (WORD i = 0; i < header.NumberOfSections; ++i) {
        pe.sections.push_back(at<IMAGE_SECTION_HEADER>(file, table + i * sizeof(IMAGE_SECTION_HEADER)));
    }
    for (std::size_t d = fileOffset(pe, importRva); d < file.size(); d += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
        auto descriptor = at<IMAGE_IMPORT_DESCRIPTOR>(file, d);
        if (descriptor.Name == 0) break;
        std::size_t name = fileOffset(pe, descriptor.Name);
        std::string dll;
        while (name < file.size() && file[name] != 0) dll += static_cast<char>(std::tolower(file[name++]));
        pe.imports.push_back(dll);
    }
    return pe;
}

// Every DLL the executables may import: the system's own.
const std::set<std::string> kSystemDlls = {"kernel32.dll", "user32.dll", "gdi32.dll", "ole32.dll", "msvcrt.dll"};

TEST(Security, ExecutablesAreProtectedGuiProgramsImportingSystemDllsOnly) {
    const struct {
        const char* what;
        std::wstring path;
        WORD machine, magic;
    } cases[] = {
        {"shipped 32-bit", shippedProgramPath(), IMAGE_FILE_MACHINE_I386, IMAGE_NT_OPTIONAL_HDR32_MAGIC},
        {"under test", programPath(), kProgramMachine, kProgramHeaderMagic},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<unsigned char> file = readAll(c.path);
        ASSERT_FALSE(file.empty()) << "cannot read the executable";
        PeFile pe = parse(file);
        EXPECT_EQ(pe.machine, c.machine);
        EXPECT_EQ(pe.magic, c.magic);
        EXPECT_EQ(pe.subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
        EXPECT_NE(pe.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE, 0) << "no ASLR";
        EXPECT_NE(pe.dllCharacteristics & IMAGE_DLLCHARACTERISTICS_NX_COMPAT, 0) << "no DEP";
        ASSERT_FALSE(pe.sections.empty());
        for (const auto& s : pe.sections) {
            const bool writable = (s.Characteristics & IMAGE_SCN_MEM_WRITE) != 0;
            const bool executable = (s.Characteristics & IMAGE_SCN_MEM_EXECUTE) != 0;
            EXPECT_FALSE(writable && executable)
                << "section " << std::string(reinterpret_cast<const char*>(s.Name), 8).c_str()
                << " is writable and executable";
        }
        ASSERT_FALSE(pe.imports.empty());
        for (const std::string& dll : pe.imports) EXPECT_TRUE(kSystemDlls.count(dll)) << "imports " << dll;
    }
}

// A fresh folder under the prefix's temporary folder, removed at scope exit.
class Folder {
public:
    Folder() {
        wchar_t base[MAX_PATH];
        GetTempPathW(MAX_PATH, base);
        path_ = std::wstring(base) + L"vantor-planted-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                std::to_wstring(GetTickCount());
        CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~Folder() {
        for (const std::wstring& f : files_) DeleteFileW(f.c_str());
        RemoveDirectoryW(path_.c_str());
    }
    std::wstring put(const std::wstring& source, const wchar_t* name) {
        std::wstring target = path_ + L"\\" + name;
        CopyFileW(source.c_str(), target.c_str(), FALSE);
        files_.push_back(target);
        files_.push_back(target + L".loaded");
        return target;
    }
    bool exists(const std::wstring& file) const { return GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

private:
    std::wstring path_;
    std::vector<std::wstring> files_;
};

// The search restriction itself, on a DLL name Wine has no DLL of its own for:
// without it the planted DLL beside the executable loads; with it, it does not.
TEST(Security, RestrictedSearchSkipsTheExecutablesFolder) {
    const struct {
        const wchar_t* mode;
        DWORD loaded;  // the probe's exit code: 0 loaded, 1 not
    } cases[] = {{L"unrestricted", 0}, {L"restricted", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.loaded == 0 ? "unrestricted" : "restricted"));
        Folder folder;
        std::wstring probe = folder.put(dllSearchProbePath(), L"dll_search_probe.exe");
        std::wstring planted = folder.put(plantedDllPath(), L"planted_probe.dll");
        Launched run(probe, std::wstring(c.mode) + L" planted_probe.dll");
        ASSERT_TRUE(run.started());
        EXPECT_EQ(run.waitForExit(20000), c.loaded);
        EXPECT_EQ(folder.exists(planted + L".loaded"), c.loaded == 0);
    }
}

// The program loads the shell only when a web-link button is clicked. Wine prefers
// its own shell32 to one beside the executable, so the tests first tell it to take
// a shell32.dll found on the search path (a DLL override for the executable's
// name); the probe shows that the planted one is then loaded without the
// restriction, and the program, which restricts its search, still does not load it.
TEST(Security, ProgramDoesNotLoadAShellPlantedBesideIt) {
    RegistryValue browsers(L"Software\\Wine\\WineBrowser", L"Browsers", L"/nonexistent/browser");
    RegistryValue probeOverride(L"Software\\Wine\\AppDefaults\\dll_search_probe.exe\\DllOverrides", L"shell32",
                                L"native,builtin");
    RegistryValue programOverride(L"Software\\Wine\\AppDefaults\\vantor-formation.exe\\DllOverrides", L"shell32",
                                  L"native,builtin");
    {
        Folder folder;
        std::wstring probe = folder.put(dllSearchProbePath(), L"dll_search_probe.exe");
        std::wstring planted = folder.put(plantedDllPath(), L"shell32.dll");
        Launched run(probe, L"unrestricted shell32.dll");
        EXPECT_EQ(run.waitForExit(20000), 0u);
        ASSERT_TRUE(folder.exists(planted + L".loaded")) << "the override does not make a planted shell32 load";
    }
    Folder folder;
    std::wstring program = folder.put(programPath(), L"vantor-formation.exe");
    std::wstring planted = folder.put(plantedDllPath(), L"shell32.dll");
    Launched run(program);
    HWND window = run.waitForWindow(kMainClass, 20000);
    ASSERT_NE(window, nullptr);
    run.waitIdle();
    HWND forum = findControl(window, L"Button", 344, 400);
    ASSERT_NE(forum, nullptr);
    SendMessageW(forum, BM_CLICK, 0, 0);
    EXPECT_FALSE(folder.exists(planted + L".loaded"));
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(run.waitForExit(20000), 0u);
}

}  // namespace
