// The internal HTML reader: the text of an HTML file as the search engine sees it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sorbex {

// Converts the bytes of an HTML file into plain 8-bit text in one forward pass: tags
// become line breaks, empty lines or tabs where they mark structure and vanish
// otherwise, runs of white space collapse to one blank outside "pre" and "blockquote",
// scripts and styles are dropped, and the Latin-1 character references become their
// bytes. Line breaks are CR LF. Any byte sequence converts; there are no errors.
//
// The result is returned in a buffer of its own rather than written over the input:
// a paragraph break after text (four bytes for the three-byte tag "p") makes the
// text longer than the HTML it came from, so an in-place conversion could overwrite
// input it has not yet read. The text is at most 5/4 of the input length plus two.
std::string HtmlToText(std::string_view html);

} // namespace sorbex
