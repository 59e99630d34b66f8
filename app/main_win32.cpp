// The process start: the runtime layer on its Win32 host, then the start routine,
// then the normal shutdown. Command-line arguments are not read.
#include "app/handlers.h"
#include "app/start.h"
#include "app/win32_host.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    restrictDllSearch();
    Win32Host host;
    useRuntime(host, kMainWindow, kProgramHandlers);
    return finishRun(startProgram());
}

