// Fuzzes the level text reader against an oracle computed here on its own: the
// text folded by this file's fold of the full-width forms, the leading white space
// skipped, and std::strtod on the rest, narrowed to the reader's grammar where
// strtod's is wider (hexadecimal numbers, infinities and NaNs) and with d and D
// read as exponent letters. Any difference stops the run with the text printed.
//
// The text sits in a heap block of its exact size (up to its first NUL, plus the
// NUL), so ASan reports any read past its end.
#include "lookup/text_to_number.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

// GBK full-width forms to ASCII: A3A1…A3FE to 21…7E, the ideographic space A1A1
// to ' ', A1AB to '~', A1EE and A1EF to '*'. Bytes from 80 up open a pair with
// whatever byte follows; other pairs stay; a lead byte with nothing after it goes.
std::string fold(const std::string& text) {
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            out.push_back(text[i]);
            i += 1;
            continue;
        }
        if (i + 1 == text.size()) break;
        const auto trail = static_cast<unsigned char>(text[i + 1]);
        const unsigned pair = lead * 0x100u + trail;
        if (pair >= 0xA3A1 && pair <= 0xA3FE) out.push_back(static_cast<char>(trail - 0x80));
        else if (pair == 0xA1A1) out.push_back(' ');
        else if (pair == 0xA1AB) out.push_back('~');
        else if (pair == 0xA1EE || pair == 0xA1EF) out.push_back('*');
        else out.append(text, i, 2);
        i += 2;
    }
    return out;
}

// The value the reader should give for a folded text, from strtod.
double expected(const std::string& folded) {
    std::size_t start = folded.find_first_not_of(" \t\n\v\f\r");
    if (start == std::string::npos) return 0.0;
    std::string rest = folded.substr(start);
    std::size_t body = (rest[0] == '+' || rest[0] == '-') ? 1 : 0;
    if (body < rest.size()) {
        const char c = rest[body];
        // "inf", "infinity", "nan", "nan(…)": no number for the reader.
        if (c == 'i' || c == 'I' || c == 'n' || c == 'N') return 0.0;
        // "0x…": the reader stops after the 0.
        if (c == '0' && body + 1 < rest.size() && (rest[body + 1] == 'x' || rest[body + 1] == 'X')) {
            rest.resize(body + 1);
        }
    }
    // d and D are exponent letters for the reader; where strtod reads a number at
    // all, an e in their place means the same to it.
    for (char& c : rest) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    return std::strtod(rest.c_str(), nullptr);
}

bool same(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void report(const std::string& text, double got, double want) {
    std::fprintf(stderr, "textToNumber mismatch for text \"");
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') std::fputc(c, stderr);
        else std::fprintf(stderr, "\\x%02X", c);
    }
    std::fprintf(stderr, "\": got %a (%.17g), expected %a (%.17g)\n", got, got, want, want);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const void* nul = std::memchr(data, 0, size);
    const std::size_t length = nul != nullptr ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - data) : size;
    std::unique_ptr<char[]> block(new char[length + 1]);
    std::memcpy(block.get(), data, length);
    block[length] = '\0';

    const std::string text(block.get(), length);
    const double got = textToNumber(block.get());
    const double want = expected(fold(text));
    if (!same(got, want)) {
        report(text, got, want);
        std::abort();
    }
    return 0;
}
