// Tests of the viewer font's description and of what the control is given.
#include "viewer/ViewerFont.h"

#include <gtest/gtest.h>

#include <string>

namespace sorbex {
namespace {

TEST(DescribeViewerFontTest, FaceSizeStyleEffectsAndColour) {
    struct Case {
        const char* what;
        CViewerFont font;
        bool withEffects;
        std::string expected;
    };
    CViewerFont defaults;
    CViewerFont underlined = defaults;
    underlined.style = kFontUnderline;
    underlined.color = 0x0000FF;
    CViewerFont both;
    both.faceName = "Times New Roman";
    both.styleName = "Bold Italic";
    both.height = 125;
    both.style = kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut | (0x22u << 16);
    both.color = 0x336699;
    CViewerFont struck = defaults;
    struck.style = kFontStrikeOut;
    struck.color = 0xC0C0C0;
    const Case cases[] = {
        {"the defaults", defaults, true, "Arial, 10 Points, Standard, Black"},
        {"without effects", defaults, false, "Arial, 10 Points, Standard"},
        {"underlined in red", underlined, true, "Arial, 10 Points, Standard, Underlined, Red"},
        {"crossed out in silver", struck, true, "Arial, 10 Points, Standard, Crossed out, Silver"},
        {"whole points, both effects, a colour without a name", both, true,
         "Times New Roman, 12 Points, Bold Italic, Underlined, Crossed out, RGB(153, 102, 51)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.expected, DescribeViewerFont(c.font, c.withEffects));
    }
}

TEST(DescribeViewerFontTest, TheDescriptionIsCutAt255CharactersBeforeTheColour) {
    CViewerFont font;
    font.faceName = std::string(300, 'F');
    const std::string description = DescribeViewerFont(font, true);
    EXPECT_EQ(std::string(255, 'F') + ", Black", description);
}

TEST(DescribeColorTest, NamedByTheDialogOrByItsParts) {
    struct Case {
        std::uint32_t color;
        const char* name;
    };
    // Red is the low byte: maroon and navy tell the byte order.
    const Case cases[] = {
        {0x000000, "Black"}, {0x000080, "Maroon"},       {0x800000, "Navy"},
        {0xFFFFFF, "White"}, {0x010203, "RGB(3, 2, 1)"}, {0xFF000000, "Black"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.name, DescribeColor(c.color));
    }
}

TEST(ControlFontTest, WholePointsTheFourEffectsAndTheColour) {
    CFontStyle chosen;
    chosen.italic = true;
    chosen.underline = true;
    chosen.pitchAndFamily = 0x31;
    chosen.charSet = 0xEE;
    CViewerFont font;
    font.faceName = "Courier New";
    font.height = 95;
    font.style = PackFontStyle(chosen);
    font.color = 0x12345678;
    EXPECT_EQ(0xEE310005u, font.style);
    EXPECT_EQ(0x31, UnpackFontStyle(font.style).pitchAndFamily);
    EXPECT_EQ(0xEE, UnpackFontStyle(font.style).charSet);

    const CControlFont control = ControlFontOf(font);
    EXPECT_EQ("Courier New", control.faceName);
    EXPECT_EQ(9, control.points);
    EXPECT_TRUE(control.italic);
    EXPECT_FALSE(control.bold);
    EXPECT_TRUE(control.underline);
    EXPECT_FALSE(control.strikeOut);
    EXPECT_EQ(0x345678u, control.color);
}

} // namespace
} // namespace sorbex
