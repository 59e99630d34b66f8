#pragma once

// Runs the program from its empty tables to the end of the event loop; returns 0.
// The caller then carries out the normal shutdown (finishRun).
int startProgram();
