// The trace build of the program: the program itself, recording the time of each
// of its start-up steps (ui/timeline.h) into the section named by VANTOR_TIMELINE,
// for the benchmark's start-up timeline. Without that variable it records nothing.
#include "app/handlers.h"
#include "app/start.h"
#include "app/win32_host.h"
#include "tests/win/timeline_record.h"
#include "ui/timeline.h"

#include <windows.h>

#include <cstring>

namespace {

TimelineRecord* record = nullptr;

void copyBounded(char (&target)[24], const char* text) {
    std::strncpy(target, text, sizeof target - 1);
    target[sizeof target - 1] = '\0';
}

void recordStep(const char* step, const char* subject) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    const LONG slot = InterlockedIncrement(&record->claimed) - 1;
    if (slot >= TimelineRecord::kCapacity) return;
    TimelineMark& mark = record->marks[slot];
    copyBounded(mark.step, step);
    copyBounded(mark.subject, subject);
    mark.counter = now.QuadPart;
    InterlockedIncrement(&record->written);
}

void openRecord() {
    wchar_t name[64] = {};
    if (GetEnvironmentVariableW(L"VANTOR_TIMELINE", name, 64) == 0) return;
    HANDLE section = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name);
    if (section == nullptr) return;
    record = static_cast<TimelineRecord*>(MapViewOfFile(section, FILE_MAP_WRITE, 0, 0, sizeof(TimelineRecord)));
    if (record != nullptr) stepRecorder = recordStep;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    openRecord();
    markStep("process entry");
    restrictDllSearch();
    Win32Host host;
    useRuntime(host, kMainWindow, kProgramHandlers);
    return finishRun(startProgram());
}
