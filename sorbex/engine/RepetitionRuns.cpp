// Folding runs of stacked repetition operators in a pattern into the one they equal.
#include "engine/RepetitionRuns.h"

#include "engine/PatternShapes.h"

namespace sorbex {
namespace {

bool IsRepetition(char c) {
    return c == '*' || c == '+' || c == '?';
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
            const std::size_t end = EndOfBracketList(pattern, i);
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
