// Tests of the characters the viewer's control shows for a decoded text, and of the
// positions that carry over between the text and the control.
#include "viewer/ShownCharacters.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorbex {
namespace {

TEST(ShownCharactersTest, SubstitutesShowTheFilesCharacters) {
    struct Case {
        const char* name;
        std::string content;
        std::u32string outside;
        std::u16string units;
        std::vector<std::uint32_t> pairs;
    };
    const Case cases[] = {
        {"code page only", "H\xFCgel \x80", U"", u"H\u00FCgel \u20AC", {}},
        {"a Polish l", "Bia\x81ka", U"\u0142", u"Bia\u0142ka", {}},
        {"one after the other", "\x81-\x81", U"\u03B1\u03B2", u"\u03B1-\u03B2", {}},
        {"outside the BMP takes two units", "a\x81" "b\x81", U"\U0001F600\U00010348",
         u"a\U0001F600b\U00010348", {1, 3}},
        {"more substitutes than characters", "\x81\x81", U"\u0142", u"\u0142\u0081", {}},
        {"line ends stay", "x\r\n\x81\r\n", U"\u0142", u"x\r\n\u0142\r\n", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const CShownUnits shown = ShownUnits(c.content, c.outside);
        EXPECT_EQ(c.units, shown.units);
        EXPECT_EQ(c.pairs, shown.pairs);
        // Read back from the control, the text lines up with the searched one again.
        EXPECT_EQ(c.content.size(), ContentOfUnits(shown.units).size());
    }
}

TEST(ShownCharactersTest, ReadBackGivesOneBytePerCharacter) {
    EXPECT_EQ("H\xFCgel \x80", ContentOfUnits(u"H\u00FCgel \u20AC"));
    EXPECT_EQ("Bia\x81ka", ContentOfUnits(u"Bia\u0142ka"));
    EXPECT_EQ("a\x81" "b", ContentOfUnits(u"a\U0001F600b"));
    // A lone surrogate is a character of its own, and none of the code page.
    EXPECT_EQ("\x81x\x81", ContentOfUnits(std::u16string{0xD800, u'x', 0xDC00}));
}

TEST(ShownCharactersTest, PositionsAfterAPairMoveByOne) {
    const std::vector<std::uint32_t> pairs = {1, 3};
    // "a", pair, "b", pair, "c": text positions 0..5, control positions 0..7.
    const long expected[] = {0, 1, 3, 4, 6, 7};
    for (long position = 0; position <= 5; ++position) {
        SCOPED_TRACE(position);
        EXPECT_EQ(expected[position], UnitPosition(pairs, position));
    }
    EXPECT_EQ(42, UnitPosition({}, 42));
}

} // namespace
} // namespace sorbex
