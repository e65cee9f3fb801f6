// Tests of the number, date and size forms of result pages.
#include "app/DisplayForms.h"

#include <gtest/gtest.h>

#include <climits>

namespace sorbex {
namespace {

TEST(DisplayFormsTest, ThousandsGroups) {
    struct Case {
        std::int64_t value;
        const char* text;
    };
    const Case cases[] = {
        {0, "0"},
        {999, "999"},
        {1000, "1.000"},
        {12345, "12.345"},
        {1234567, "1.234.567"},
        {-1234, "-1.234"},
        {LLONG_MIN, "-9.223.372.036.854.775.808"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, GroupThousands(c.value));
    }
    EXPECT_EQ("1.048.576 bytes", FormatResultSize(1048576));
    EXPECT_EQ("0 bytes", FormatResultSize(0));
}

TEST(DisplayFormsTest, DateForm) {
    std::tm time{};
    time.tm_year = 103; // 2003
    time.tm_mon = 1;    // February
    time.tm_mday = 4;
    time.tm_hour = 9;
    time.tm_min = 5;
    time.tm_wday = 2;
    EXPECT_EQ("Tue, 04.02.03 at 09:05", FormatResultDate(time));
    std::string text;
    ASSERT_TRUE(FormatResultDate(1000000000, text)); // a Sunday in September 2001
    EXPECT_NE(std::string::npos, text.find(".09.01 at ")) << text;
}

} // namespace
} // namespace sorbex
