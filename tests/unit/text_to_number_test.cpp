// Level texts to numbers. Each case spells out the number prefix the text should
// yield once folded (in strtod's spelling); strtod on that prefix is the oracle.
#include "lookup/text_to_number.h"

#include "tests/unit/core_test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct NumberCase {
    const char* text;
    const char* prefix;  // "": no number, the value is 0
};

const NumberCase kNumberCases[] = {
    // plain numbers and their parts
    {"20", "20"},
    {"+20", "+20"},
    {"-10", "-10"},
    {"20.0", "20.0"},
    {"20.", "20."},
    {".5", ".5"},
    {"-.5e-1", "-.5e-1"},
    {"20.00000009", "20.00000009"},
    // exponents, with d and D as exponent letters
    {"2e1", "2e1"},
    {"2E+1", "2E+1"},
    {"200e-1", "200e-1"},
    {"2d1", "2e1"},
    {"2D-1", "2e-1"},
    {"1e400", "1e400"},
    {"1e-400", "1e-400"},
    // an exponent letter without digits is not part of the number
    {"20e", "20"},
    {"20e+", "20"},
    {"20d-x", "20"},
    {"2.5E", "2.5"},
    // the number ends at the first byte that cannot continue it
    {"20 级", "20"},
    {"20x", "20"},
    {"2 0", "2"},
    {"0x14", "0"},
    {"1.2.3", "1.2"},
    // leading white space
    {"  20", "20"},
    {"\t20", "20"},
    {"\n\v\f\r 20", "20"},
    {"+ 20", ""},
    // full-width forms: digits, sign, point, exponent letters, ideographic space
    {"\xA3\xB2\xA3\xB0", "20"},
    {"\xA1\xA1" "20", "20"},
    {"\xA1\xA1\xA1\xA1\xA3\xB2" "0", "20"},
    {"\xA3\xAD\xA3\xB1\xA3\xAE\xA3\xB5\xA3\xE5\xA3\xB2", "-1.5e2"},
    {"\xA3\xB2\xA3\xC4\xA3\xB1", "2e1"},
    // other double-byte characters stay as they are
    {"\xA3\xA0" "20", ""},
    {"\xA2\xB2", ""},
    {"\xB5\xC8" "20", ""},
    // a lead byte just before the end is dropped
    {"20\xB0", "20"},
    {"\xA3", ""},
    // no number at all
    {"", ""},
    {".", ""},
    {"+", ""},
    {"-.", ""},
    {"+-2", ""},
    {"e5", ""},
    {"abc", ""},
    {"nan", ""},
    {"inf", ""},
    {"infinity", ""},
};

// Each text sits in a block of its exact size, so that a read past its end shows
// under a memory checker.
TEST(TextToNumberTest, ReadsTheLongestNumberPrefix) {
    for (const NumberCase& c : kNumberCases) {
        SCOPED_TRACE(printable(c.text));
        std::vector<char> text(c.text, c.text + std::strlen(c.text) + 1);
        double expected = c.prefix[0] == '\0' ? 0.0 : std::strtod(c.prefix, nullptr);
        EXPECT_EQ(textToNumber(text.data()), expected) << "prefix " << c.prefix;
    }
}

}  // namespace
