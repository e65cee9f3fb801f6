// The detail window's text: labels, old matches and replacements for every kind of
// row, and the rich text made of them.
#include "wizard/DetailText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

using S = DetailStyle;

// Segments written as one text: [label], plain, <old match>, {replacement}.
std::string Render(const std::vector<DetailSegment>& segments) {
    std::string out;
    for (const DetailSegment& s : segments) {
        switch (s.style) {
        case S::Label:
            out += "[" + s.text + "]";
            break;
        case S::Plain:
            out += s.text;
            break;
        case S::OldMatch:
            out += "<" + s.text + ">";
            break;
        case S::NewText:
            out += "{" + s.text + "}";
            break;
        }
    }
    return out;
}

SearchHit Hit(std::uint32_t flags, const std::string& keyPath, const std::string& value,
              std::uint32_t type = 0, const std::string& data = {}, bool matchCase = false) {
    SearchHit hit;
    hit.flags = flags;
    hit.keyPath = keyPath;
    hit.valueName = value;
    hit.type = type;
    hit.data.assign(data.begin(), data.end());
    hit.size = static_cast<std::uint32_t>(data.size());
    hit.searchText = "ab";
    hit.replacementText = "XY";
    hit.matchCase = matchCase;
    return hit;
}

TEST(DetailText, EveryKindOfRowWithItsMarks) {
    using namespace kestrix;
    const struct {
        const char* name;
        SearchHit hit;
        const char* text;
    } cases[] = {
        {"key", Hit(kHitKeyName, "PC\\HKEY_CURRENT_USER\\ab\\cAbab", ""),
         "[Old Key :\t]PC\\HKEY_CURRENT_USER\\ab\\c<Abab>"
         "[\rNew Key :\t]PC\\HKEY_CURRENT_USER\\ab\\c{XYXY}"},
        {"value", Hit(kHitValueName, "PC\\HKEY_CURRENT_USER\\K", "x-ab-y"),
         "[Key :\t]PC\\HKEY_CURRENT_USER\\K[\rOld Value :\t]x-<ab>-y[\rNew Value :\t]x-{XY}-y"},
        {"string", Hit(kHitData, "PC\\HKEY_CURRENT_USER\\K", "(Default)", kRegSz, std::string("1ab2\0junk", 9)),
         "[Key :\t]PC\\HKEY_CURRENT_USER\\K[\rValue :\t](Default)"
         "[\rOld Data :\t]1<ab>2[\rNew Data :\t]1{XY}2"},
        {"expandable string",
         Hit(kHitData, "PC\\HKEY_CURRENT_USER\\K", "P", kRegExpandSz, std::string("%ab%\0", 5)),
         "[Key :\t]PC\\HKEY_CURRENT_USER\\K[\rValue :\t]P"
         "[\rOld Data :\t]%<ab>%[\rNew Data :\t]%{XY}%"},
        {"multi-string: every string, each followed by a tab",
         Hit(kHitData, "PC\\HKEY_CURRENT_USER\\K", "M", kRegMultiSz,
             std::string("one\0two ab\0AB\0\0", 15)),
         "[Key :\t]PC\\HKEY_CURRENT_USER\\K[\rValue :\t]M"
         "[\rOld Data :\t]one\ttwo <ab>\t<AB>\t[\rNew Data :\t]one\ttwo {XY}\t{XY}\t"},
        {"whole string only: the other strings stay unmarked",
         [] {
             SearchHit hit = Hit(kHitData, "K", "M", kRegMultiSz, std::string("ab c\0AB\0\0", 8));
             hit.wholeString = true;
             return hit;
         }(),
         "[Key :\t]K[\rValue :\t]M[\rOld Data :\t]ab c\t<AB>\t[\rNew Data :\t]ab c\t{XY}\t"},
        {"case kept: only the exact text is marked",
         Hit(kHitValueName, "PC\\HKEY_CURRENT_USER\\K", "ab-AB", 0, {}, true),
         "[Key :\t]PC\\HKEY_CURRENT_USER\\K[\rOld Value :\t]<ab>-AB[\rNew Value :\t]{XY}-AB"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.text, Render(DetailSegments(c.hit)));
    }
}

TEST(DetailText, AdjacentPiecesOfOneStyleAreJoined) {
    SearchHit hit = Hit(kHitValueName, "K", "abab");
    std::vector<DetailSegment> segments = DetailSegments(hit);
    // Label, key path, label, one old match, label, one replacement.
    ASSERT_EQ(6u, segments.size());
    EXPECT_EQ((DetailSegment{"abab", S::OldMatch}), segments[3]);
    EXPECT_EQ((DetailSegment{"XYXY", S::NewText}), segments[5]);
}

TEST(DetailText, RichTextHasTheFontTheTabStopTheColoursAndEscapes) {
    std::string rtf = DetailRtf({{"Key :\t", S::Label},
                                 {"a\\b{c}\xe9", S::Plain},
                                 {"\rold", S::OldMatch},
                                 {"new", S::NewText}});
    EXPECT_EQ("{\\rtf1\\ansi\\ansicpg1252\\deff0"
              "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}}"
              "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red255\\green0\\blue0;}"
              "\\pard\\tx1440\\f0\\fs18 "
              "{\\b\\cf1 Key :\\tab }"
              "{\\cf1 a\\\\b\\{c\\}\\'e9}"
              "{\\b\\cf2 \\par old}"
              "{\\b\\cf3 new}}",
              rtf);
}

} // namespace
} // namespace keywright
