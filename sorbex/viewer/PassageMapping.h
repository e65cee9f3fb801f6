// Carrying passage offsets of a searched text over to the text the viewer shows, by a
// tolerant alignment of the two texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sorbex {

// LF, CR and 21: bytes that end lines in one text and may be missing or doubled in the
// other, so the alignment passes over them without comparing them.
inline bool IsLineBreakByte(char c) {
    return c == '\n' || c == '\r' || c == '\x15';
}

// How alike the starts of two texts are: up to 20 bytes compared pairwise (line-break
// bytes passed over); every equal byte that makes a run of equal bytes three or longer
// counts one. 0 to 18; 16 or more means an almost identical window.
int WindowSimilarity(const char* a, std::size_t lengthA, const char* b, std::size_t lengthB);

// Where the last difference ends before the first run of three equal bytes, within the
// first 20 bytes of each text: the offsets just after the differing bytes in `a` and in
// `b`, or 0 and 0 when the windows start alike.
void FindAnchor(const char* a, std::size_t lengthA, const char* b, std::size_t lengthB,
                std::size_t* skipA, std::size_t* skipB);

// The shift that best lines up the shown text `shown` with the plain text `plain`, of
// up to 499 bytes either way: h > 0 means the shown text has h bytes more before the
// common part, h < 0 that the plain text has -h bytes more. The first shift with an
// almost identical window wins, else the most similar one (the smaller on ties).
int FindShift(const char* shown, std::size_t shownLength, const char* plain,
              std::size_t plainLength);

// Maps each passage start `starts[j]` (ascending offsets into `plain`) to a position in
// `shown` and writes it to `positions[j]`. Positions of passages that could not be
// reached are left as they were. True when every passage got a position. A position
// lies in [0, shown.size()] when the alignment is sound; where the texts cannot be
// aligned it may fall outside, so callers clamp before they select.
bool MapPassages(std::string_view shown, std::string_view plain, const std::int32_t* starts,
                 std::size_t count, std::int32_t* positions);

} // namespace sorbex
