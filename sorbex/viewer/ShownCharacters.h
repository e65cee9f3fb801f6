// The characters a text control shows for a decoded text: the substitute bytes of the
// searched text put back as the file's own characters, and positions counted in the
// control's UTF-16 units.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace sorbex {

// A text as UTF-16 for the control, and where its positions part from the text's.
struct CShownUnits {
    std::u16string units;
    // The text positions whose character takes two units (outside the BMP), ascending.
    std::vector<std::uint32_t> pairs;
};

// `content` (code-page bytes) as UTF-16: the substitute bytes take the characters of
// `characters` one after the other, as long as there are any; every other byte is its
// code-page character.
CShownUnits ShownUnits(std::string_view content, std::u32string_view characters);

// The control position of text position `position`: one more for every character
// before it that takes two units.
long UnitPosition(const std::vector<std::uint32_t>& pairs, long position);

// The control's text read back as a text of the code page, one byte per character
// (a pair of surrogates is one), so that it lines up with the searched text: a
// character the code page lacks is the substitute byte.
std::string ContentOfUnits(std::u16string_view units);

} // namespace sorbex
