// The printed lines of a result page: a file's line and a passage's line.
#pragma once

#include <cstdint>
#include <string>

#include "search/SearchResult.h"

namespace sorbex {

// How a passage stands out from its excerpt.
enum class CHighlight {
    Brackets, // [[passage]], for files and pipes
    Colour,   // bold red, for terminals
};

// A time (seconds since 1970) as the local "YYYY-MM-DD hh:mm".
std::string FormatDate(std::int64_t modified);

// "NAME  SIZE  DATE  DIR": the size in bytes or <DIR>, the date in local time.
std::string FormatFileLine(const std::string& name, const std::string& dir, bool isDirectory,
                           std::uint64_t size, std::int64_t modified);

// The same line added to the end of `out`, with no line break.
void AppendFileLine(std::string& out, const std::string& name, const std::string& dir,
                    bool isDirectory, std::uint64_t size, std::int64_t modified);

// "  START-END: excerpt" with the passage highlighted; the bytes of the excerpt are
// those of the text (Windows-1252). A result without passage says that the file
// matches as a whole.
std::string FormatPassageLine(const CSearchResult& result, CHighlight highlight);

// The passage line as the terminal shows it: the characters of the file that the code
// page lacks (when the search still knows them) are shown as themselves.
std::string PassageLineForTerminal(const CSearchResult& result, CHighlight highlight);

} // namespace sorbex
