// What the tests and the run command's screenshot tool look for and take on the
// desktop: a program's window, and a rectangle of the screen saved as a 24-bit BMP
// file as the screen shows it (BitBlt from the screen DC: PrintWindow gives black
// under Wine).
#pragma once

#include <windows.h>

// The first visible top-level window of the process that has no owner (not a
// message box or a pop-up list), or null.
HWND shownWindowOf(DWORD pid);

bool saveScreenArea(const RECT& area, const wchar_t* path);
// The same once the area has stopped changing (two reads 50 ms apart agree, within 5 s):
// the last paints of a window just shown have reached the screen.
bool saveSettledScreenArea(const RECT& area, const wchar_t* path);
