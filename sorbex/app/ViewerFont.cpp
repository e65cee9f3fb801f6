// The description of the file viewer's font shown beside the options' font button.
#include "app/ViewerFont.h"

#include "strings/SorbexStrings.h"

namespace sorbex {

std::string DescribeViewerFont(const CFontChoice& font) {
    std::string style = font.styleName;
    if (font.style & kFontUnderline)
        style += std::string(", ") + SorbexString(IDS_FONT_UNDERLINED);
    if (font.style & kFontStrikeOut)
        style += std::string(", ") + SorbexString(IDS_FONT_CROSSED_OUT);
    // The string's own format, filled in the order face name, points, style.
    std::string text;
    const std::string format = SorbexString(IDS_VIEWER_FONT_DESCRIPTION);
    int field = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            const std::size_t length = format.compare(i, 3, "%ld") == 0 ? 3 : 2;
            text += field == 0   ? font.faceName
                    : field == 1 ? std::to_string(font.height / 10)
                                 : style;
            ++field;
            i += length - 1;
            continue;
        }
        text += format[i];
    }
    if (text.size() > kFontDescriptionLimit)
        text.resize(kFontDescriptionLimit);
    const unsigned colour = static_cast<unsigned>(font.color);
    text +=
        ", " + FormatSorbexString(IDS_COLOUR_DESCRIPTION, {std::to_string(colour & 0xFF),
                                                           std::to_string((colour >> 8) & 0xFF),
                                                           std::to_string((colour >> 16) & 0xFF)});
    return text;
}

} // namespace sorbex
