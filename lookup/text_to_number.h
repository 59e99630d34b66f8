#pragma once

// The number at the start of a GBK text: full-width forms folded to ASCII, leading
// white space skipped, then the longest prefix of the form
//   [+|-] (digits [. digits*] | . digits) [(e|E|d|D) [+|-] digits]
// read as a decimal double. No such prefix gives 0; a value beyond the range of a
// double gives an infinity (or zero), which matches no level. Never fails.
double textToNumber(const char* text);
