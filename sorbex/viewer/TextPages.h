// Pages of a text laid out line by line by our own rules, for a control that cannot lay
// its text out for a printer itself: paragraphs broken into lines at spaces where they
// are too wide, and as many lines on a page as its height holds.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace sorbex {

// One line of a page: the positions of the text it shows, without its line break.
struct CTextLine {
    long start = 0;
    long length = 0;
    bool operator==(const CTextLine& o) const { return start == o.start && length == o.length; }
};

struct CTextPage {
    long start = 0; // the first position of the page
    std::vector<CTextLine> lines;
};

// How wide the `count` characters at `text` are, in the unit of the area's width; the
// width of a prefix never exceeds that of a longer one.
using CMeasureText = std::function<long(const wchar_t* text, std::size_t count)>;

// Lays `text` out on pages whose lines are at most `width` wide and of which `linesPerPage`
// fit on one (at least one line a page, at least one character a line, so that the
// layout always ends). A paragraph ends at a CR, an LF or a CR LF; a line too wide
// breaks after its last space that fits, or, in a word longer than the line, after its
// last character that fits. Spaces at a break stay at the end of the line they follow.
// An empty text has one empty page.
std::vector<CTextPage> LayOutTextPages(const std::wstring& text, long width, long linesPerPage,
                                       const CMeasureText& measure);

// The first position of every page, as the preview takes them.
std::vector<long> PageStartsOf(const std::vector<CTextPage>& pages);

} // namespace sorbex
