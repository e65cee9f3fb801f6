// The viewer's font as the user chose it ("SearchOptions"): its description beside the
// options page's font button and what the viewer's control is given.
#pragma once

#include <cstdint>
#include <string>

namespace sorbex {

// Bits of CViewerFont::style.
constexpr std::uint32_t kFontItalic = 0x1;
constexpr std::uint32_t kFontBold = 0x2;
constexpr std::uint32_t kFontUnderline = 0x4;
constexpr std::uint32_t kFontStrikeOut = 0x8;

struct CViewerFont {
    std::string faceName = "Arial";
    std::string styleName = "Standard"; // as the font dialog names the style
    long height = 100;                  // tenths of a point
    long weight = 400;                  // 400 normal, 700 bold
    // The four effect bits above, the pitch and family in bits 16 to 23 and the
    // character set in bits 24 to 31.
    std::uint32_t style = 0;
    std::uint32_t color = 0; // red + 256 * green + 65536 * blue

    bool operator==(const CViewerFont& other) const;
};

// The font dialog's choice packed into CViewerFont::style and back.
struct CFontStyle {
    bool italic = false;
    bool bold = false;
    bool underline = false;
    bool strikeOut = false;
    unsigned char pitchAndFamily = 0;
    unsigned char charSet = 0;
};
std::uint32_t PackFontStyle(const CFontStyle& style);
CFontStyle UnpackFontStyle(std::uint32_t style);

// "Arial, 10 Points, Standard, Underlined, Black": face, whole points, style name and
// the underline and strike-out effects, at most 255 characters; then, when the choice
// includes effects (the viewer's always does), the colour.
std::string DescribeViewerFont(const CViewerFont& font, bool withEffects);

// The colour by the name the font dialog gives it, or its red, green and blue parts.
std::string DescribeColor(std::uint32_t color);

// What the viewer's control is given as its default font.
struct CControlFont {
    std::string faceName;
    int points = 10;
    bool italic = false;
    bool bold = false;
    bool underline = false;
    bool strikeOut = false;
    std::uint32_t color = 0;
};
CControlFont ControlFontOf(const CViewerFont& font);

} // namespace sorbex
