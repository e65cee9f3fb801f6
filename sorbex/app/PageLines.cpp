// The lines of a result page below its header: file and directory bars, passage lines
// and listing lines, and where each result stands in the page's text.
#include "app/PageLines.h"

#include <algorithm>
#include <string>

#include "app/DisplayForms.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr const char* kBarSeparator = "  -  ";

// " name  -  size  -  date  -  directory": the bar above a file's passages.
void AppendFileBar(CRichTextBuilder& out, const CSearchResult& r, const CFileFacts& facts) {
    std::string bar = " " + r.name + kBarSeparator;
    std::string date;
    if (facts.known && FormatResultDate(facts.modified, date))
        bar += FormatResultSize(facts.size) + kBarSeparator + date + kBarSeparator;
    bar += r.dir;
    out.BeginParagraph(CParagraphStyle::Bar);
    out.Append(CRunStyle::Bar, bar);
    out.EndParagraph();
}

void AppendDirectoryBar(CRichTextBuilder& out, const CSearchResult& r) {
    out.BeginParagraph(CParagraphStyle::Bar);
    out.Append(CRunStyle::Bar, r.dir);
    out.EndParagraph();
}

CResultSpan AppendPassageLine(CRichTextBuilder& out, const CSearchResult& r, int index) {
    const auto size = static_cast<std::int32_t>(r.excerpt.size());
    const std::int32_t from = std::clamp(r.excerptStart, 0, size);
    const std::int32_t to = std::clamp(r.excerptEnd, from, size);
    CResultSpan span;
    span.lineStart = out.length();
    out.BeginParagraph(CParagraphStyle::Passage);
    out.Append(CRunStyle::Normal, GroupThousands(r.start) + "\t");
    // The excerpt shows the file's own characters where the code page has none.
    const std::string_view excerpt(r.excerpt);
    out.Append(CRunStyle::Normal, excerpt.substr(0, from), r.excerptOutside, 0);
    out.Append(CRunStyle::Index, std::to_string(index + 1));
    span.position = out.length() + 1;
    out.Append(CRunStyle::Match, excerpt.substr(from, to - from), r.excerptOutside,
               static_cast<std::uint32_t>(from));
    out.Append(CRunStyle::Normal, excerpt.substr(to), r.excerptOutside,
               static_cast<std::uint32_t>(to));
    span.lineEnd = out.length();
    out.EndParagraph();
    return span;
}

CResultSpan AppendEntryLine(CRichTextBuilder& out, const CSearchResult& r, int index,
                            const CFileFacts& facts) {
    CResultSpan span;
    span.lineStart = out.length();
    out.BeginParagraph(CParagraphStyle::Listing);
    out.Append(CRunStyle::Index, std::to_string(index + 1));
    span.position = out.length() + 1;
    out.Append(CRunStyle::Match, r.name);
    std::string date;
    if (facts.known && FormatResultDate(facts.modified, date)) {
        const std::string what = facts.isDirectory || (r.flags & kResultDirectory)
                                     ? std::string(SorbexString(IDS_HEADER_DIRECTORY))
                                     : FormatResultSize(facts.size);
        out.Append(CRunStyle::Normal, "\t" + what + "\t" + date);
    }
    // An entry whose status cannot be read ends its line too, so that the next entry
    // does not run on after its name.
    span.lineEnd = out.length();
    out.EndParagraph();
    return span;
}

} // namespace

bool IsEntryResult(const CSearchResult& r) {
    return r.start == 0 && r.end == 0 && r.excerpt.empty();
}

CResultSpan AppendResultLines(CRichTextBuilder& out, const CSearchResult& result, int index,
                              const CFileFacts& facts) {
    const bool first = (result.flags & kResultFirstOfFile) != 0;
    if (IsEntryResult(result)) {
        if (first)
            AppendDirectoryBar(out, result);
        return AppendEntryLine(out, result, index, facts);
    }
    if (first)
        AppendFileBar(out, result, facts);
    return AppendPassageLine(out, result, index);
}

void CPageLineIndex::Shift(std::ptrdiff_t delta) {
    for (CResultSpan& span : spans_) {
        span.lineStart =
            static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.lineStart) + delta);
        span.lineEnd = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.lineEnd) + delta);
        span.position =
            static_cast<std::size_t>(static_cast<std::ptrdiff_t>(span.position) + delta);
    }
}

int CPageLineIndex::ResultAt(std::size_t position) const {
    const auto after =
        std::upper_bound(spans_.begin(), spans_.end(), position,
                         [](std::size_t p, const CResultSpan& span) { return p < span.lineStart; });
    if (after == spans_.begin())
        return -1;
    const auto found = after - 1;
    return position <= found->lineEnd ? static_cast<int>(found - spans_.begin()) : -1;
}

void ShiftViewPositions(CSearchResultArray& results, std::ptrdiff_t delta) {
    for (std::size_t i = 0; i < results.size(); ++i)
        results[i].viewPosition = static_cast<std::int32_t>(results[i].viewPosition + delta);
}

} // namespace sorbex
