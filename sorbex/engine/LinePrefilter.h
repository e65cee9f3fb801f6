// The seam where a cheap test skips the lines that cannot hold a match of a pattern.
#pragma once

namespace sorbex {

// A regular-expression matcher runs the backtracking library only on the lines that its
// prefilter (if it has one) lets through; a prefilter must never skip a line that holds
// a match, so that it changes speed and nothing else.
class CLinePrefilter {
public:
    virtual ~CLinePrefilter() = default;

    // The first byte of the first line in [from, end) that may hold a match, `from`
    // counting as the start of a line; nullptr when no line in the range can.
    virtual const char* NextCandidateLine(const char* from, const char* end) const = 0;

    // Like NextCandidateLine; a prefilter that knows the pattern's matches exactly may
    // also answer with the span of the first match in the range, which the library
    // would find there too (`matchStart` stays nullptr otherwise). Asked only where the
    // whole match is wanted.
    virtual const char* NextCandidate(const char* from, const char* end, const char*& matchStart,
                                      const char*& matchEnd) const {
        matchStart = nullptr;
        matchEnd = nullptr;
        return NextCandidateLine(from, end);
    }
};

} // namespace sorbex
