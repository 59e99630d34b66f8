#pragma once

#include "app/runtime_core.h"

// The program's handlers by the names the window description binds.
extern const HandlerTable kProgramHandlers;
