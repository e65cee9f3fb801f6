// The control words and symbols that the RTF reader knows.
#pragma once

#include <string_view>

namespace sorbex {

enum class RtfKeywordKind {
    Character,   // writes `byte`
    Destination, // switches where the group's text goes (`destination`)
    Property,    // formatting: recognised, no effect on the text
    Special,     // binary data, "\*" or a hexadecimal escape (`special`)
};

enum class RtfDestinationKind { Skip, Text, FieldInstruction };

enum class RtfSpecial { Binary, SkipIfUnlisted, HexEscape };

struct RtfKeyword {
    std::string_view name;
    RtfKeywordKind kind;
    char byte = 0;
    RtfDestinationKind destination = RtfDestinationKind::Skip;
    RtfSpecial special = RtfSpecial::Binary;
};

// The row for a control word's letters or a control symbol's one byte (exact,
// case-sensitive), or null for a word the reader does not know.
const RtfKeyword* LookUpRtfKeyword(std::string_view name);

} // namespace sorbex
