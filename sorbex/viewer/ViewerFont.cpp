// The viewer's font as the user chose it ("SearchOptions"): its description beside the
// options page's font button and what the viewer's control is given.
#include "viewer/ViewerFont.h"

#include <cstdio>

#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr std::size_t kMaxDescription = 255;

// The sixteen colours the font dialog offers, by their string-table names.
struct NamedColor {
    std::uint32_t color;
    unsigned id;
};
constexpr NamedColor kNamedColors[] = {
    {0x000000, IDS_COLOR_BLACK}, {0x000080, IDS_COLOR_MAROON},  {0x008000, IDS_COLOR_GREEN},
    {0x008080, IDS_COLOR_OLIVE}, {0x800000, IDS_COLOR_NAVY},    {0x800080, IDS_COLOR_PURPLE},
    {0x808000, IDS_COLOR_TEAL},  {0x808080, IDS_COLOR_GRAY},    {0xC0C0C0, IDS_COLOR_SILVER},
    {0x0000FF, IDS_COLOR_RED},   {0x00FF00, IDS_COLOR_LIME},    {0x00FFFF, IDS_COLOR_YELLOW},
    {0xFF0000, IDS_COLOR_BLUE},  {0xFF00FF, IDS_COLOR_FUCHSIA}, {0xFFFF00, IDS_COLOR_AQUA},
    {0xFFFFFF, IDS_COLOR_WHITE},
};

} // namespace

bool CViewerFont::operator==(const CViewerFont& o) const {
    return faceName == o.faceName && styleName == o.styleName && height == o.height &&
           weight == o.weight && style == o.style && color == o.color;
}

std::uint32_t PackFontStyle(const CFontStyle& style) {
    return (style.italic ? kFontItalic : 0) | (style.bold ? kFontBold : 0) |
           (style.underline ? kFontUnderline : 0) | (style.strikeOut ? kFontStrikeOut : 0) |
           (std::uint32_t{style.pitchAndFamily} << 16) | (std::uint32_t{style.charSet} << 24);
}

CFontStyle UnpackFontStyle(std::uint32_t style) {
    CFontStyle unpacked;
    unpacked.italic = (style & kFontItalic) != 0;
    unpacked.bold = (style & kFontBold) != 0;
    unpacked.underline = (style & kFontUnderline) != 0;
    unpacked.strikeOut = (style & kFontStrikeOut) != 0;
    unpacked.pitchAndFamily = static_cast<unsigned char>(style >> 16);
    unpacked.charSet = static_cast<unsigned char>(style >> 24);
    return unpacked;
}

std::string DescribeColor(std::uint32_t color) {
    color &= 0xFFFFFF;
    for (const NamedColor& named : kNamedColors) {
        if (named.color == color)
            return SorbexString(named.id);
    }
    return FormatSorbexString(IDS_COLOR_RGB,
                              {std::to_string(color & 0xFF), std::to_string((color >> 8) & 0xFF),
                               std::to_string((color >> 16) & 0xFF)});
}

std::string DescribeViewerFont(const CViewerFont& font, bool withEffects) {
    std::string style = font.styleName;
    if (font.style & kFontUnderline)
        style.append(", ").append(SorbexString(IDS_FONT_UNDERLINED));
    if (font.style & kFontStrikeOut)
        style.append(", ").append(SorbexString(IDS_FONT_CROSSED_OUT));
    char buffer[kMaxDescription + 1] = {};
    std::snprintf(buffer, sizeof buffer, SorbexString(IDS_FONT_DESCRIPTION), font.faceName.c_str(),
                  font.height / 10, style.c_str());
    std::string description = buffer;
    if (withEffects)
        description.append(", ").append(DescribeColor(font.color));
    return description;
}

CControlFont ControlFontOf(const CViewerFont& font) {
    const CFontStyle style = UnpackFontStyle(font.style);
    CControlFont control;
    control.faceName = font.faceName;
    control.points = static_cast<int>(font.height / 10);
    control.italic = style.italic;
    control.bold = style.bold;
    control.underline = style.underline;
    control.strikeOut = style.strikeOut;
    control.color = font.color & 0xFFFFFF;
    return control;
}

} // namespace sorbex
