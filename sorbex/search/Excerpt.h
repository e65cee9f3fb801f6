// The one-line context around a passage that a result shows without opening the file.
#pragma once

#include <cstddef>
#include <string>

namespace sorbex {

struct CExcerpt {
    std::string text;     // at most kMaxExcerptLength characters
    int passageStart = 0; // offset of the passage in `text`
    int passageEnd = 0;   // offset one past the passage in `text`
};

// How far the excerpt looks for the line around the passage, and how long it grows.
constexpr int kExcerptReach = 255;
constexpr int kMaxExcerptLength = 510;

// The excerpt of the passage [start, end) of `text` (`length` bytes). Offsets outside
// the text are moved to its nearest edge.
CExcerpt BuildExcerpt(const char* text, std::size_t length, int start, int end);

} // namespace sorbex
