// desktop_run.exe - runs one program on a Wine virtual desktop of a chosen size and
// hands back its exit code. Part of the headless Wine test platform (tools/winplat.sh,
// tools/wine-run); built on demand by tools/winplat.sh, never shipped.
//
//   desktop_run.exe [--desktop WxH] [--name NAME] [--shared-screen] [--keep-children] PROGRAM [ARGS...]
//   desktop_run.exe --hold
//
// --desktop WxH  size of the virtual desktop the program runs on. Without it the
//                program runs on the platform's default desktop ("Default", 1024x768).
// --name NAME    desktop name; default "wp<pid>-WxH", i.e. a fresh desktop per run, so
//                programs of parallel runs cannot see each other's windows.
// --shared-screen  the Wine keeps one screen size for all its desktops (Wine 10: the
//                virtual screen's modes come from Desktops\Default, whatever the
//                desktop's name, and a new desktop switches the one screen to its size).
//                The run's size is then written as Default too, and after the run the
//                Default value and the screen's size are put back.
// --keep-children  do not end the processes the program left running (they keep the
//                caller's stdout/stderr open, so a caller reading them waits for them).
// --hold         keeps the default desktop open until the process is killed (tools/winplat.sh
//                starts one at platform start): Wine closes a desktop, and its explorer.exe,
//                once no process uses it, and a later program would start a new explorer.exe
//                inside its own job, where the leftover clean-up below would end it while
//                programs of parallel runs still draw on that desktop.
//
// How it works: Wine's explorer.exe reads the size of a desktop from
// HKCU\Software\Wine\Explorer\Desktops\<NAME> when the first window is created on it, so
// the launcher writes that value and starts PROGRAM with STARTUPINFO.lpDesktop = NAME.
// Processes PROGRAM starts inherit that desktop, provided PROGRAM has loaded user32.dll
// (Wine hands the desktop on through the process's window-station connection; children
// of a console program that imports nothing from user32 land on "Default"). PROGRAM gets the launcher's standard
// handles, runs inside a job object, and when it exits every process it left behind is
// ended (unless --keep-children), so a stray child holding the caller's pipes cannot make
// the caller wait. If the launcher itself is killed, closing the job ends them too.
// Exit code: PROGRAM's (Wine hands the low 8 bits to Linux; a crash with exception code
// 0xC0000005 becomes 5, and the code is also printed on stderr); 125 for a usage error,
// 126 when PROGRAM cannot be started.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// Quotes one argument so that CommandLineToArgvW / the C runtime give it back unchanged.
void append_quoted(std::wstring &out, const std::wstring &arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
    out += arg;
    return;
  }
  out += L'"';
  for (size_t i = 0;; ++i) {
    size_t backslashes = 0;
    while (i < arg.size() && arg[i] == L'\\') {
      ++i;
      ++backslashes;
    }
    if (i == arg.size()) {
      out.append(backslashes * 2, L'\\');
      break;
    }
    if (arg[i] == L'"') {
      out.append(backslashes * 2 + 1, L'\\');
    } else {
      out.append(backslashes, L'\\');
    }
    out += arg[i];
  }
  out += L'"';
}

bool parse_size(const wchar_t *text, unsigned &w, unsigned &h) {
  wchar_t x = 0, rest = 0;
  return swscanf(text, L"%u%lc%u%lc", &w, &x, &h, &rest) == 3 && (x == L'x' || x == L'X') &&
         w >= 320 && h >= 200 && w <= 8192 && h <= 8192;
}

void set_size_value(HKEY key, const wchar_t *name, const wchar_t *size) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(size),
                 static_cast<DWORD>((wcslen(size) + 1) * sizeof(wchar_t)));
}

// --shared-screen: switches the one screen back to the default desktop's size once the
// run's desktop is gone. user32 is loaded only here (see hold()).
void restore_screen(const wchar_t *default_size) {
  unsigned w = 0, h = 0;
  if (!parse_size(default_size, w, h)) return;
  HMODULE user32 = LoadLibraryW(L"user32.dll");
  using Change = LONG(WINAPI *)(LPCWSTR, DEVMODEW *, HWND, DWORD, LPVOID);
  auto change = user32 ? reinterpret_cast<Change>(
                             reinterpret_cast<void *>(GetProcAddress(user32, "ChangeDisplaySettingsExW")))
                       : nullptr;
  if (!change) return;
  DEVMODEW mode = {};
  mode.dmSize = sizeof mode;
  mode.dmPelsWidth = w;
  mode.dmPelsHeight = h;
  mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  const LONG result = change(nullptr, &mode, nullptr, 0, nullptr);
  if (result != DISP_CHANGE_SUCCESSFUL) {
    fprintf(stderr, "desktop_run: cannot give the screen back its size %ls (%ld)\n", default_size, result);
  }
}

// --hold: open the current desktop (this starts its explorer.exe) and wait to be killed.
// user32 is loaded only here so that ordinary runs do not connect to the default desktop.
int hold() {
  HMODULE user32 = LoadLibraryW(L"user32.dll");
  auto get_desktop = user32 ? reinterpret_cast<HWND(WINAPI *)()>(
                                  reinterpret_cast<void *>(GetProcAddress(user32, "GetDesktopWindow")))
                            : nullptr;
  if (!get_desktop || !get_desktop()) {
    fprintf(stderr, "desktop_run: cannot open the default desktop\n");
    return 1;
  }
  printf("desktop_run: holding the default desktop\n");
  fflush(stdout);
  Sleep(INFINITE);
  return 0;
}

int usage(const char *why) {
  fprintf(stderr, "desktop_run: %s\nusage: desktop_run.exe [--desktop WxH] [--name NAME] "
                  "[--shared-screen] [--keep-children] PROGRAM [ARGS...]\n", why);
  return 125;
}

// Ends every process still in the job; returns how many of them were not explorer.exe.
// An explorer.exe in the job is the one Wine started for a new desktop of this run; it
// is ended too but not counted, as it is not the program's doing.
DWORD end_leftovers(HANDLE job) {
  struct {
    JOBOBJECT_BASIC_PROCESS_ID_LIST list;
    ULONG_PTR more[255];
  } ids = {};
  ids.list.NumberOfAssignedProcesses = 256;
  DWORD counted = 0;
  if (QueryInformationJobObject(job, JobObjectBasicProcessIdList, &ids, sizeof ids, nullptr)) {
    for (DWORD k = 0; k < ids.list.NumberOfProcessIdsInList; ++k) {
      DWORD pid = static_cast<DWORD>(ids.list.ProcessIdList[k]);
      HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
      bool explorer = false;
      if (h) {
        wchar_t image[MAX_PATH];
        DWORD len = MAX_PATH;
        if (QueryFullProcessImageNameW(h, 0, image, &len)) {
          const wchar_t *base = wcsrchr(image, L'\\');
          explorer = _wcsicmp(base ? base + 1 : image, L"explorer.exe") == 0;
        }
        CloseHandle(h);
      }
      if (!explorer) ++counted;
    }
  }
  JOBOBJECT_BASIC_ACCOUNTING_INFORMATION acct = {};
  if (QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &acct, sizeof acct,
                                nullptr) &&
      acct.ActiveProcesses > 0) {
    TerminateJobObject(job, 1);
  }
  return counted;
}

}  // namespace

// Built with -municode: the C runtime splits the command line into argv.
int wmain(int argc, wchar_t **argv) {
  const wchar_t *size = nullptr;
  std::wstring name;
  bool keep_children = false, shared_screen = false;
  int i = 1;
  for (; i < argc; ++i) {
    std::wstring a = argv[i];
    if (a == L"--desktop" && i + 1 < argc) {
      size = argv[++i];
    } else if (a.rfind(L"--desktop=", 0) == 0) {
      size = argv[i] + 10;
    } else if (a == L"--name" && i + 1 < argc) {
      name = argv[++i];
    } else if (a == L"--hold" && i == 1 && argc == 2) {
      return hold();
    } else if (a == L"--keep-children") {
      keep_children = true;
    } else if (a == L"--shared-screen") {
      shared_screen = true;
    } else if (a == L"--") {
      ++i;
      break;
    } else {
      break;
    }
  }
  if (i >= argc) return usage("no program given");

  unsigned width = 0, height = 0;
  if (size && *size && !parse_size(size, width, height)) return usage("bad --desktop size");
  if (size && *size && name.empty()) {
    wchar_t buf[64];
    swprintf(buf, 64, L"wp%lu-%ux%u", GetCurrentProcessId(), width, height);
    name = buf;
  }
  if (!name.empty() && name.find_first_of(L"\\,") != std::wstring::npos) {
    return usage("bad --name");
  }

  wchar_t default_size[32] = L"";
  if (!name.empty() && width) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, nullptr, 0,
                        KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
      fprintf(stderr, "desktop_run: cannot open HKCU\\Software\\Wine\\Explorer\\Desktops\n");
      return 126;
    }
    wchar_t value[32];
    swprintf(value, 32, L"%ux%u", width, height);
    set_size_value(key, name.c_str(), value);
    if (shared_screen) {
      DWORD bytes = sizeof default_size - sizeof(wchar_t);
      if (RegQueryValueExW(key, L"Default", nullptr, nullptr, reinterpret_cast<BYTE *>(default_size), &bytes) !=
          ERROR_SUCCESS) {
        default_size[0] = L'\0';
      }
      set_size_value(key, L"Default", value);
    }
    RegCloseKey(key);
  }

  std::wstring cmdline;
  for (int j = i; j < argc; ++j) {
    if (j > i) cmdline += L' ';
    append_quoted(cmdline, argv[j]);
  }

  // With --keep-children no job at all: its closing would end them.
  HANDLE job = keep_children ? nullptr : CreateJobObjectW(nullptr, nullptr);
  if (job) {
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  }

  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  for (HANDLE h : {si.hStdInput, si.hStdOutput, si.hStdError}) {
    if (h && h != INVALID_HANDLE_VALUE) SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  }
  if (!name.empty()) si.lpDesktop = &name[0];

  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, &cmdline[0], nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr,
                      nullptr, &si, &pi)) {
    fprintf(stderr, "desktop_run: cannot start %ls (error %lu)\n", argv[i], GetLastError());
    return 126;
  }
  if (job) AssignProcessToJobObject(job, pi.hProcess);
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);

  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 1;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);

  if (code >= 0xC0000000u) {
    fprintf(stderr, "desktop_run: %ls ended with exception code 0x%08lX\n", argv[i], code);
  }
  if (job && !keep_children) {
    DWORD left = end_leftovers(job);
    if (left) fprintf(stderr, "desktop_run: ended %lu process(es) left running by the program\n", left);
  }
  if (!name.empty() && width) {
    // The value is only read when the desktop is created; drop it so the registry
    // does not collect one value per run.
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\Explorer\\Desktops", 0, KEY_SET_VALUE,
                      &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, name.c_str());
      if (shared_screen && default_size[0]) set_size_value(key, L"Default", default_size);
      RegCloseKey(key);
    }
    if (shared_screen) restore_screen(default_size);
  }
  fflush(stderr);
  return static_cast<int>(code);
}
