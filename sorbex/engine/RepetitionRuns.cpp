// Folding runs of stacked repetition operators in a pattern into the one they equal.
#include "engine/RepetitionRuns.h"

namespace sorbex {
namespace {

bool IsRepetition(char c) {
    return c == '*' || c == '+' || c == '?';
}

// The index just past the bracket list that opens at `open`, or the pattern's size
// when it never closes (the compile reports that). A "]" first in the list does not
// close it; backslashes are ordinary bytes there, and the pattern language has no
// character classes, so "[:" is no more than two bytes of the list.
std::size_t EndOfList(const std::string& pattern, std::size_t open) {
    std::size_t i = open + 1;
    if (i < pattern.size() && pattern[i] == '^')
        ++i;
    if (i < pattern.size() && pattern[i] == ']')
        ++i;
    const std::size_t close = pattern.find(']', i);
    return close == std::string::npos ? pattern.size() : close + 1;
}

} // namespace

std::string CollapseRepetitionRuns(const std::string& pattern) {
    std::string out;
    out.reserve(pattern.size());
    std::size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '\\') {
            out.append(pattern, i, 2);
            i += 2;
            continue;
        }
        if (c == '[') {
            const std::size_t end = EndOfList(pattern, i);
            out.append(pattern, i, end - i);
            i = end;
            continue;
        }
        if (!IsRepetition(c)) {
            out += c;
            ++i;
            continue;
        }
        bool star = false;
        bool plus = false;
        bool question = false;
        std::size_t end = i;
        for (; end < pattern.size() && IsRepetition(pattern[end]); ++end) {
            star |= pattern[end] == '*';
            plus |= pattern[end] == '+';
            question |= pattern[end] == '?';
        }
        out += star || (plus && question) ? '*' : c;
        i = end;
    }
    return out;
}

} // namespace sorbex
