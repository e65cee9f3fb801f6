// The detail window's segments and their rich text.
#include "wizard/DetailText.h"

#include "strings/KeywrightStrings.h"
#include "wizard/ResultRows.h"
#include "wizard/WizardStrings.h"

namespace keywright {

namespace {

class SegmentList {
public:
    void Add(std::string_view text, DetailStyle style) {
        if (text.empty())
            return;
        if (!segments_.empty() && segments_.back().style == style)
            segments_.back().text += text;
        else
            segments_.push_back(DetailSegment{std::string(text), style});
    }

    // A label opens a line; every line but the first begins with "\r".
    void Label(unsigned id) {
        std::string text = segments_.empty() ? "" : "\r";
        text += KeywrightString(id);
        text += '\t';
        Add(text, DetailStyle::Label);
    }

    // `source` with the find text marked blue (`old`) or replaced and marked red.
    void Marked(const SearchHit& hit, std::string_view source, bool old) {
        ReplaceWhole(
            hit, source,
            [this, old](std::string_view text, bool changed) {
                Add(text, !changed ? DetailStyle::Plain
                                   : (old ? DetailStyle::OldMatch : DetailStyle::NewText));
            },
            old);
    }

    std::vector<DetailSegment> Take() { return std::move(segments_); }

private:
    std::vector<DetailSegment> segments_;
};

void DataLines(SegmentList& out, const SearchHit& hit) {
    const bool multi = hit.type == kestrix::kRegMultiSz;
    const std::vector<std::string_view> strings =
        multi ? MultiStrings(hit) : std::vector<std::string_view>{FirstString(hit)};
    for (bool old : {true, false}) {
        out.Label(old ? kStrLabelOldData : kStrLabelNewData);
        for (std::string_view text : strings) {
            out.Marked(hit, text, old);
            if (multi)
                out.Add("\t", DetailStyle::Plain);
        }
    }
}

} // namespace

std::vector<DetailSegment> DetailSegments(const SearchHit& hit) {
    SegmentList out;
    if (hit.flags & kHitKeyName) {
        std::string_view parent = ParentPathOf(hit.keyPath);
        std::string_view name = KeyNameOf(hit.keyPath);
        out.Label(kStrLabelOldKey);
        out.Add(parent, DetailStyle::Plain);
        out.Marked(hit, name, true);
        out.Label(kStrLabelNewKey);
        out.Add(parent, DetailStyle::Plain);
        out.Marked(hit, name, false);
    } else if (hit.flags & kHitValueName) {
        out.Label(kStrLabelKey);
        out.Add(hit.keyPath, DetailStyle::Plain);
        out.Label(kStrLabelOldValue);
        out.Marked(hit, hit.valueName, true);
        out.Label(kStrLabelNewValue);
        out.Marked(hit, hit.valueName, false);
    } else {
        out.Label(kStrLabelKey);
        out.Add(hit.keyPath, DetailStyle::Plain);
        out.Label(kStrLabelValue);
        out.Add(hit.valueName, DetailStyle::Plain);
        DataLines(out, hit);
    }
    return out.Take();
}

std::string DetailRtf(const std::vector<DetailSegment>& segments) {
    // Colour 1 black, 2 blue, 3 red; the font's character set 0 is Western.
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0"
                      "{\\fonttbl{\\f0\\froman\\fcharset0 Times New Roman;}}"
                      "{\\colortbl ;\\red0\\green0\\blue0;\\red0\\green0\\blue255;"
                      "\\red255\\green0\\blue0;}"
                      "\\pard\\tx1440\\f0\\fs18 ";
    static const char* const kOpen[] = {"{\\b\\cf1 ", "{\\cf1 ", "{\\b\\cf2 ", "{\\b\\cf3 "};
    static const char kHex[] = "0123456789abcdef";
    for (const DetailSegment& segment : segments) {
        rtf += kOpen[static_cast<int>(segment.style)];
        for (char c : segment.text) {
            auto byte = static_cast<unsigned char>(c);
            if (c == '\r') {
                rtf += "\\par ";
            } else if (c == '\t') {
                rtf += "\\tab ";
            } else if (c == '\\' || c == '{' || c == '}') {
                rtf += '\\';
                rtf += c;
            } else if (byte < 0x20 || byte > 0x7e) {
                rtf += "\\'";
                rtf += kHex[byte >> 4];
                rtf += kHex[byte & 15];
            } else {
                rtf += c;
            }
        }
        rtf += '}';
    }
    rtf += '}';
    return rtf;
}

} // namespace keywright
