#include "ui/timeline.h"

StepRecorder stepRecorder = nullptr;
