// Turning a stretch of expression text into the pattern of a term.
#include "engine/TermText.h"

namespace sorbex {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

} // namespace

std::string UnescapeOperand(std::string_view stretch, int& groupsInside) {
    std::string pattern;
    pattern.reserve(stretch.size());
    groupsInside = 0;
    for (std::size_t i = 0; i < stretch.size(); ++i) {
        const char c = stretch[i];
        if (c == '\\' && i + 1 < stretch.size()) {
            const char escaped = stretch[++i];
            if (escaped != '&' && escaped != '!') {
                pattern.push_back('\\');
            }
            pattern.push_back(escaped);
            continue;
        }
        if (c == '(') {
            ++groupsInside;
        }
        pattern.push_back(c);
    }
    return pattern;
}

void TrimOperand(std::string& pattern) {
    std::size_t first = 0;
    while (first < pattern.size() && IsBlank(pattern[first])) {
        ++first;
    }
    // A blank at the end stays when a backslash escapes it ("a\ " searches "a "): its
    // escape would otherwise be left dangling. The escaping backslashes are the odd
    // run before it.
    std::size_t last = pattern.size();
    while (last > first && IsBlank(pattern[last - 1])) {
        std::size_t backslashes = 0;
        while (last - 1 - backslashes > first && pattern[last - 2 - backslashes] == '\\') {
            ++backslashes;
        }
        if (backslashes % 2 == 1) {
            break;
        }
        --last;
    }
    pattern = pattern.substr(first, last - first);
}

bool StripEnclosingPair(std::string& pattern) {
    if (pattern.size() < 2 || pattern.front() != '(' || pattern.back() != ')') {
        return false;
    }
    int depth = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '\\') {
            ++i;
        } else if (c == '(') {
            ++depth;
        } else if (c == ')' && --depth == 0) {
            if (i + 1 != pattern.size()) {
                return false;
            }
            pattern = pattern.substr(1, pattern.size() - 2);
            TrimOperand(pattern);
            return true;
        }
    }
    return false;
}

} // namespace sorbex
