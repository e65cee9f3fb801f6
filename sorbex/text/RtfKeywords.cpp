// The control words and symbols that the RTF reader knows.
#include "text/RtfKeywords.h"

#include <algorithm>
#include <cstddef>
#include <iterator>

namespace sorbex {
namespace {

constexpr RtfKeyword Char(std::string_view name, char byte) {
    return {name, RtfKeywordKind::Character, byte};
}
constexpr RtfKeyword Dest(std::string_view name, RtfDestinationKind destination) {
    return {name, RtfKeywordKind::Destination, 0, destination};
}
constexpr RtfKeyword Prop(std::string_view name) {
    return {name, RtfKeywordKind::Property};
}
constexpr RtfKeyword Special(std::string_view name, RtfSpecial special) {
    return {name, RtfKeywordKind::Special, 0, RtfDestinationKind::Skip, special};
}

constexpr auto kSkip = RtfDestinationKind::Skip;
constexpr auto kText = RtfDestinationKind::Text;

// Sorted in byte order, for binary search. "private1" can never match, since a
// control word's name ends at its first digit; it is kept so that the table stays
// the one documents were written against.
constexpr RtfKeyword kKeywords[] = {
    Char("\n", '\n'),
    Char("\r", '\n'),
    Special("'", RtfSpecial::HexEscape),
    Special("*", RtfSpecial::SkipIfUnlisted),
    Char("\\", '\\'),
    Dest("author", kSkip),
    Prop("b"),
    Special("bin", RtfSpecial::Binary),
    Dest("buptim", kSkip),
    Char("cell", '\t'),
    Dest("colortbl", kSkip),
    Prop("cols"),
    Dest("comment", kSkip),
    Dest("creatim", kSkip),
    Dest("doccomm", kSkip),
    Prop("facingp"),
    Prop("fi"),
    Dest("field", kText),
    Dest("fldinst", RtfDestinationKind::FieldInstruction),
    Dest("fonttbl", kSkip),
    Dest("footer", kText),
    Dest("footerf", kText),
    Dest("footerl", kText),
    Dest("footerr", kText),
    Dest("footnote", kText),
    Dest("ftncn", kSkip),
    Dest("ftnsep", kSkip),
    Dest("ftnsepc", kSkip),
    Dest("header", kText),
    Dest("headerf", kText),
    Dest("headerl", kText),
    Dest("headerr", kText),
    Prop("i"),
    Dest("info", kSkip),
    Dest("keywords", kSkip),
    Prop("landscape"),
    Char("ldblquote", '"'),
    Prop("li"),
    Prop("margb"),
    Prop("margl"),
    Prop("margr"),
    Prop("margt"),
    Dest("operator", kSkip),
    Prop("paperh"),
    Prop("paperw"),
    Char("par", '\n'),
    Prop("pgndec"),
    Prop("pgnlcltr"),
    Prop("pgnlcrm"),
    Prop("pgnstart"),
    Prop("pgnucltr"),
    Prop("pgnucrm"),
    Prop("pgnx"),
    Prop("pgny"),
    Dest("pict", kSkip),
    Dest("printim", kSkip),
    Dest("private1", kSkip),
    Prop("qc"),
    Prop("qj"),
    Prop("ql"),
    Prop("qr"),
    Char("rdblquote", '"'),
    Dest("revtim", kSkip),
    Prop("ri"),
    Char("row", '\n'),
    Dest("rxe", kSkip),
    Prop("sbkcol"),
    Prop("sbkeven"),
    Prop("sbknone"),
    Prop("sbkodd"),
    Prop("sbkpage"),
    Dest("stylesheet", kSkip),
    Dest("subject", kSkip),
    Char("tab", '\t'),
    Dest("tc", kSkip),
    Dest("title", kSkip),
    Dest("txe", kSkip),
    Prop("u"),
    Dest("xe", kSkip),
    Char("{", '{'),
    Char("}", '}'),
};

constexpr bool IsSorted() {
    for (std::size_t i = 1; i < std::size(kKeywords); ++i)
        if (!(kKeywords[i - 1].name < kKeywords[i].name))
            return false;
    return true;
}
static_assert(IsSorted(), "the keyword table must stay sorted for binary search");
static_assert(std::size(kKeywords) == 81, "the reader knows 81 control words and symbols");

} // namespace

const RtfKeyword* LookUpRtfKeyword(std::string_view name) {
    const auto* end = std::end(kKeywords);
    const auto* found = std::lower_bound(
        std::begin(kKeywords), end, name,
        [](const RtfKeyword& keyword, std::string_view key) { return keyword.name < key; });
    if (found == end || found->name != name)
        return nullptr;
    return found;
}

} // namespace sorbex
