#include "core/decimal.h"

#include <gtest/gtest.h>

namespace {

// Dates and numbered file names: padded up to the width, never cut below it.
TEST(PaddedDecimal, PadsToTheWidthAndKeepsLongerNumbers) {
    const struct {
        std::uint64_t value;
        int digits;
        const char* text;
    } cases[] = {
        {7, 3, "007"},
        {0, 2, "00"},
        {2023, 4, "2023"},
        {12345, 3, "12345"},
        {42, 1, "42"},
        {0, 1, "0"},
        {18446744073709551615ull, 1, "18446744073709551615"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vk::PaddedDecimal(c.value, c.digits), c.text) << c.value << " " << c.digits;
    }
}

}  // namespace
