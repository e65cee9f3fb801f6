// Pages of a text laid out line by line by our own rules, for a control that cannot lay
// its text out for a printer itself.
#include "viewer/TextPages.h"

#include <algorithm>

namespace sorbex {
namespace {

bool IsBreak(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

// How many characters of the `count` at `text` fit in `width`: at least one.
std::size_t FittingPrefix(const wchar_t* text, std::size_t count, long width,
                          const CMeasureText& measure) {
    if (measure(text, count) <= width)
        return count;
    // The width grows with the prefix: the longest one that fits, by halving.
    std::size_t low = 1;
    std::size_t high = count;
    while (low + 1 < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (measure(text, middle) <= width)
            low = middle;
        else
            high = middle;
    }
    return low;
}

// The lines of the paragraph of `count` characters at position `from`.
void BreakParagraph(const std::wstring& text, long from, std::size_t count, long width,
                    const CMeasureText& measure, std::vector<CTextLine>& lines) {
    std::size_t done = 0;
    do {
        const wchar_t* rest = text.data() + from + done;
        const std::size_t left = count - done;
        std::size_t take = left == 0 ? 0 : FittingPrefix(rest, left, width, measure);
        if (take < left) {
            // Back to the last space that fits, which stays on this line with the
            // spaces after it.
            std::size_t space = take;
            while (space > 0 && rest[space] != L' ')
                --space;
            if (rest[space] == L' ' && space > 0) {
                take = space;
                while (take < left && rest[take] == L' ')
                    ++take;
            }
        }
        lines.push_back({from + static_cast<long>(done), static_cast<long>(take)});
        done += take;
    } while (done < count);
}

} // namespace

std::vector<CTextPage> LayOutTextPages(const std::wstring& text, long width, long linesPerPage,
                                       const CMeasureText& measure) {
    std::vector<CTextLine> lines;
    std::size_t at = 0;
    do {
        std::size_t end = at;
        while (end < text.size() && !IsBreak(text[end]))
            ++end;
        BreakParagraph(text, static_cast<long>(at), end - at, width, measure, lines);
        if (end < text.size() && text[end] == L'\r' && end + 1 < text.size() &&
            text[end + 1] == L'\n')
            ++end;
        at = end + 1;
    } while (at < text.size());

    const auto perPage = static_cast<std::size_t>(std::max(linesPerPage, 1L));
    std::vector<CTextPage> pages;
    for (std::size_t k = 0; k < lines.size(); k += perPage) {
        CTextPage page;
        page.start = lines[k].start;
        page.lines.assign(lines.begin() + static_cast<std::ptrdiff_t>(k),
                          lines.begin() + static_cast<std::ptrdiff_t>(std::min(k + perPage, lines.size())));
        pages.push_back(std::move(page));
    }
    return pages;
}

std::vector<long> PageStartsOf(const std::vector<CTextPage>& pages) {
    std::vector<long> starts;
    for (const CTextPage& page : pages)
        starts.push_back(page.start);
    return starts;
}

} // namespace sorbex
