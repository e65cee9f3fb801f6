// The internal RTF reader: the visible text of a Rich Text Format document.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sorbex {

// Why a reading stopped before the end of the input. The text read until then is
// kept and searched: a damaged document still yields what it holds.
enum class RtfStop {
    None,             // the whole input was read
    BadHexDigit,      // a hexadecimal escape held a byte that is no hex digit
    UnbalancedBrace,  // a "}" closed no open group
    TruncatedControl, // the input ended inside a control word ("\" or "-" last)
    OutOfMemory,      // the group stack could not grow
};

struct RtfReadResult {
    std::string text;
    RtfStop stop = RtfStop::None;
    // Input offset of what stopped the reading: the bad digit, the stray "}", the
    // backslash of the cut control word or the "{" of the group that could not be opened.
    std::size_t position = 0;
};

// Reads an RTF document: the text of the body, headers, footers, footnotes and
// fields (each field instruction enclosed in "{" and "}"), with LF for paragraph and
// row ends and TAB for tabs and cell ends. Font and colour tables, style sheets,
// document information, pictures and unknown "\*" destinations write nothing;
// hexadecimal escapes write their raw byte. The text is never longer than the input.
RtfReadResult ReadRtf(std::string_view rtf);

// The text of ReadRtf alone, for callers that search whatever could be read.
std::string RtfToText(std::string_view rtf);

} // namespace sorbex
