// Decimal conversion: the texts stored settings and defaults actually contain, and
// the damaged ones they might.
#include "settings/DecimalConversion.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(DecimalConversion, FollowsTheBlankSignDigitsRule) {
    struct Case {
        const char* text;
        std::int32_t value;
    } cases[] = {
        {"0", 0},
        {"25", 25},
        {"600", 600},
        {"-1", -1},
        {"+7", 7},
        {"   42", 42},
        {"\t-3", -3},
        {"12abc", 12},
        {"12 34", 12},
        {"007", 7},
        {"", 0},
        {"abc", 0},
        {"-", 0},
        {"+-5", 0},
        {" - 5", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 2147483647},
        {"99999999999999999999", 2147483647},
        {"-99999999999999999999", -2147483647 - 1},
        {nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        EXPECT_EQ(c.value, DecimalToInt(c.text));
    }
}

} // namespace
} // namespace keywright
