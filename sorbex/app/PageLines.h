// The lines of a result page below its header: file and directory bars, passage lines
// and listing lines, and where each result stands in the page's text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "app/RichText.h"
#include "search/SearchResultArray.h"

namespace sorbex {

// What a page can tell of a file besides its name.
struct CFileFacts {
    bool known = false; // size and date could be read
    bool isDirectory = false;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // seconds since 1970
};

// A result without passage: a listed entry, or a file that matches as a whole.
bool IsEntryResult(const CSearchResult& result);

// Where a result's own line stands in the text it was written to.
struct CResultSpan {
    std::size_t lineStart = 0;
    std::size_t lineEnd = 0; // the line's end mark
    // The result's stored position: where its matched text (or its name) begins,
    // counted from 1 as the page has always stored it.
    std::size_t position = 0;
};

// Appends the result's lines to `out`: a bar when it is the first of its file (or of a
// new directory), then its own line. `index` is its place in the page, from 0; the
// page shows it from 1. Positions are relative to the start of `out`.
CResultSpan AppendResultLines(CRichTextBuilder& out, const CSearchResult& result, int index,
                              const CFileFacts& facts);

// The spans of a page's results in the control's text, for clicks and selections.
class CPageLineIndex {
public:
    void Clear() { spans_.clear(); }
    // Spans come in the order of the results, each after the one before.
    void Add(const CResultSpan& span) { spans_.push_back(span); }
    // Moves every span by `delta` characters: text was inserted before all of them.
    void Shift(std::ptrdiff_t delta);
    // The result whose line holds `position`, or -1 (a bar, the header, the closing line).
    int ResultAt(std::size_t position) const;
    const CResultSpan& operator[](std::size_t index) const { return spans_[index]; }
    std::size_t size() const { return spans_.size(); }

private:
    std::vector<CResultSpan> spans_;
};

// Moves every result's stored position by `delta`, as the index above.
void ShiftViewPositions(CSearchResultArray& results, std::ptrdiff_t delta);

} // namespace sorbex
