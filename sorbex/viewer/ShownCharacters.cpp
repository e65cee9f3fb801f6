// The characters a text control shows for a decoded text: the substitute bytes of the
// searched text put back as the file's own characters, and positions counted in the
// control's UTF-16 units.
#include "viewer/ShownCharacters.h"

#include <algorithm>

#include "platform/Cp1252.h"
#include "text/TextEncoding.h"

namespace sorbex {

CShownUnits ShownUnits(std::string_view content, std::u32string_view characters) {
    CShownUnits shown;
    shown.units.reserve(content.size());
    std::size_t next = 0;
    for (std::size_t i = 0; i < content.size(); ++i) {
        const auto byte = static_cast<unsigned char>(content[i]);
        char32_t c = kestrix::Cp1252Character(byte);
        if (content[i] == kSubstituteByte && next < characters.size())
            c = characters[next++];
        if (c < 0x10000) {
            shown.units.push_back(static_cast<char16_t>(c));
        } else {
            shown.pairs.push_back(static_cast<std::uint32_t>(i));
            shown.units.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            shown.units.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        }
    }
    return shown;
}

long UnitPosition(const std::vector<std::uint32_t>& pairs, long position) {
    if (position <= 0)
        return position;
    const auto before = std::lower_bound(pairs.begin(), pairs.end(),
                                         static_cast<std::uint32_t>(position)) -
                        pairs.begin();
    return position + static_cast<long>(before);
}

std::string ContentOfUnits(std::u16string_view units) {
    std::string content;
    content.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t unit = units[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000)
            ++i; // the pair is one character, and the code page has none outside the BMP
        char byte = kSubstituteByte;
        if (!kestrix::EncodeCp1252(unit, byte) || (unit >= 0xD800 && unit < 0xE000))
            byte = kSubstituteByte;
        content.push_back(byte);
    }
    return content;
}

} // namespace sorbex
