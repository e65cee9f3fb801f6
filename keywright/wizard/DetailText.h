// What the detail window shows for a row: labelled lines with the old matches and
// the replacements marked, and the rich text that draws them.
#pragma once

#include "registry/RegistrySearch.h"

#include <string>
#include <vector>

namespace keywright {

enum class DetailStyle : std::uint8_t {
    Label,    // bold black
    Plain,    // black
    OldMatch, // bold blue: the find text in the old name or string
    NewText,  // bold red: the replacement in the new name or string
};

struct DetailSegment {
    std::string text; // "\r" ends a line, "\t" goes to the tab stop
    DetailStyle style = DetailStyle::Plain;

    bool operator==(const DetailSegment& other) const {
        return text == other.text && style == other.style;
    }
};

// The segments for a hit: key, value name, or data of any string type (every string
// of a multi-string, each followed by a tab). Adjacent pieces of one style are joined.
std::vector<DetailSegment> DetailSegments(const SearchHit& hit);

// The segments as rich text: "Times New Roman", 9 points, one tab stop at 1440 twips,
// the colours and weights of the styles. Bytes above 127 are written as code-page
// escapes, so that names in any Western text survive.
std::string DetailRtf(const std::vector<DetailSegment>& segments);

} // namespace keywright
