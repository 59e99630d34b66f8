// What the trace build writes and the benchmark driver reads: the program's
// start-up steps with their performance-counter time, in a shared memory section
// the driver makes and names in the trace build's environment (VANTOR_TIMELINE).
// The counter is the system's, so the driver subtracts the moment it started the
// process.
#pragma once

#include <windows.h>

struct TimelineMark {
    char step[24];
    char subject[24];  // GBK
    LONGLONG counter;
};

struct TimelineRecord {
    static constexpr LONG kCapacity = 512;
    volatile LONG claimed;  // marks claimed so far; those beyond the capacity are dropped
    volatile LONG written;  // marks fully written
    TimelineMark marks[kCapacity];
};
