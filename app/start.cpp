// The program's start routine: the order of start-up that every handler relies on.
#include "app/start.h"

#include "app/runtime.h"
#include "lookup/formation_table.h"

int startProgram() {
    initRuntime();
    createEmptyTables();
    setEndOfRunRoutine(releaseTables);
    openStartupWindow();
    runEventLoop();
    return 0;
}
