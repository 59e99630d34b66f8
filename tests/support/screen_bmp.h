// A rectangle of the screen saved as a 24-bit BMP file, as the screen shows it
// (BitBlt from the screen DC: PrintWindow gives black under Wine). Shared by the
// tests and the run command's screenshot tool.
#pragma once

#include <windows.h>

bool saveScreenArea(const RECT& area, const wchar_t* path);
