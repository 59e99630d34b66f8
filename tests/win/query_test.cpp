// Tests of the real program under Wine; see support.h.
#include "tests/win/support.h"

#include <gtest/gtest.h>
