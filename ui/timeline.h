// The start-up timeline: the program marks its own steps (runtime ready, each
// control made, each picture decoded, each font made, the first paint of each
// control, idle) and a trace build records when each happened. In the program
// itself no recorder is set and a mark costs one test of a pointer.
//
// Portable, so the runtime core marks its steps too. A recorder may be called from
// any thread of the program and must be safe for that.
#pragma once

// `step` names what happened; `subject` the control (its name in the window
// description, GBK) or "" for the window as a whole.
using StepRecorder = void (*)(const char* step, const char* subject);

// Null unless a trace build has set one, before startProgram.
extern StepRecorder stepRecorder;

inline void markStep(const char* step, const char* subject = "") {
    if (stepRecorder != nullptr) stepRecorder(step, subject);
}
