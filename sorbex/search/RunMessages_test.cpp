// Tests of the closing texts of a search run and of the timing they report.
#include "search/RunMessages.h"

#include <gtest/gtest.h>

#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

TEST(RunMessagesTest, SecondsSurviveTheTickCountWrapping) {
    struct Case {
        std::uint32_t start;
        std::uint32_t end;
        unsigned id;
        const char* text;
    };
    const Case cases[] = {
        {1000, 3500, IDS_SEARCH_FINISHED, "Searching terminated normally (2.50 seconds)."},
        {0, 0, IDS_SEARCH_FINISHED, "Searching terminated normally (0.00 seconds)."},
        {0xFFFFFF00u, 0x100u, IDS_SEARCH_CANCELED, "SEARCHING CANCELED (0.51 seconds)."},
        {0xFFFFFFFFu, 0xFFFFFFFDu, IDS_SEARCH_FINISHED,
         "Searching terminated normally (4294967.29 seconds)."},
        {5, 1234567, IDS_SEARCH_CANCELED, "SEARCHING CANCELED (1234.56 seconds)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, FormatTimedMessage(c.id, ElapsedSeconds(c.start, c.end)));
    }
}

TEST(RunMessagesTest, ReplaceTagBeyondTheGroups) {
    EXPECT_EQ("You want to replace the subexpression 3, but the search expression contains "
              "only 2 subexpressions.",
              FormatReplaceTagTooHigh(3, 2));
    EXPECT_EQ("You want to replace the subexpression 5, but the search expression contains "
              "only 0 subexpressions.",
              FormatReplaceTagTooHigh(5, 0));
}

} // namespace
} // namespace sorbex
