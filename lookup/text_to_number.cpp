// Level texts to numbers. The grammar is the program's own; once the prefix is
// known, strtod computes its value (the program never changes the C locale, so the
// decimal point is the full stop).
#include "lookup/text_to_number.h"

#include <cstdlib>
#include <string>

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Full-width forms of GBK to their ASCII counterparts; every other double-byte
// character stays as it is. A lead byte just before the end is dropped.
std::string foldFullWidth(const char* text) {
    std::string folded;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        if (*p < 0x80) {
            folded += static_cast<char>(*p);
            continue;
        }
        unsigned char lead = p[0], trail = p[1];
        if (trail == 0) break;
        ++p;
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) folded += static_cast<char>(trail - 0x80);
        else if (lead == 0xA1 && trail == 0xA1) folded += ' ';
        else if (lead == 0xA1 && trail == 0xAB) folded += '~';
        else if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) folded += '*';
        else {
            folded += static_cast<char>(lead);
            folded += static_cast<char>(trail);
        }
    }
    return folded;
}

// Length of the run of digits at s[i].
std::size_t digitsAt(const std::string& s, std::size_t i) {
    std::size_t n = 0;
    while (i + n < s.size() && isDigit(s[i + n])) ++n;
    return n;
}

// The number prefix of s from `start`, in strtod's spelling (d and D become e);
// empty when there is none.
std::string numberPrefix(const std::string& s, std::size_t start) {
    std::size_t i = start;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t whole = digitsAt(s, i);
    i += whole;
    std::size_t fraction = 0;
    if (i < s.size() && s[i] == '.') {
        fraction = digitsAt(s, i + 1);
        if (whole == 0 && fraction == 0) return {};
        i += 1 + fraction;
    }
    if (whole == 0 && fraction == 0) return {};
    std::string prefix = s.substr(start, i - start);
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        std::size_t exponent = digitsAt(s, j);
        if (exponent > 0) prefix += 'e' + s.substr(i + 1, j + exponent - (i + 1));
    }
    return prefix;
}

}  // namespace

double textToNumber(const char* text) {
    std::string folded = foldFullWidth(text);
    std::size_t start = 0;
    while (start < folded.size() && isSpace(folded[start])) ++start;
    std::string prefix = numberPrefix(folded, start);
    if (prefix.empty()) return 0.0;
    return std::strtod(prefix.c_str(), nullptr);
}
