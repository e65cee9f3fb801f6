// Fuzz target: a pattern and a text give the same passages with and without the
// prefilters (keyword set and automaton), in both case modes, with and without whole
// words, for the whole match and a group.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/RegexMatcher.h"

namespace {

// Every passage of a term scan, as the expression's evaluation runs it.
std::string Scan(sorbex::CRegexMatcher& matcher, const std::string& text, int group) {
    std::string passages;
    std::size_t pos = 0;
    while (pos < text.size()) {
        int start = 0;
        int end = 0;
        if (!matcher.FindMatch(text.data() + pos, text.size() - pos, group, start, end))
            break;
        passages += std::to_string(pos + static_cast<std::size_t>(start)) + '-' +
                    std::to_string(pos + static_cast<std::size_t>(end)) + ' ';
        if (start < 0 || end <= 0)
            break;
        pos += static_cast<std::size_t>(end);
    }
    return passages;
}

// Some patterns only measure how slowly the regular-expression library compiles or
// matches them, with or without prefilters, and say nothing about the prefilters:
// large counted repetitions, many repetitions in one pattern, and empty alternatives
// under a repetition (the library's search for the groups' bounds backtracks
// exponentially over them). They are left out.
bool LibraryIsSlowOn(const std::string& pattern) {
    int digits = 0;
    int repetitions = 0;
    int bars = 0;
    char previous = '(';
    for (char c : pattern) {
        if (c == '{' || c == '*' || c == '+' || c == '?')
            ++repetitions;
        if (c == '|' || c == '\n') {
            ++bars;
            if (previous == '(' || previous == '|' || previous == '\n')
                return true;
        }
        if ((c == ')' || c == '|' || c == '\n') && (previous == '|' || previous == '\n'))
            return true;
        digits = (c >= '0' && c <= '9') ? digits + 1 : 0;
        if (digits > 1 || repetitions > 8 || bars > 4)
            return true;
        previous = c;
    }
    return false;
}

} // namespace

// Input: one byte of options, the pattern, a zero byte, the text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    const unsigned options = data[0];
    const std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::size_t split = rest.find('\0');
    if (split == std::string::npos || split == 0 || split > 64)
        return 0;
    const std::string pattern = rest.substr(0, split);
    const std::string text = rest.substr(split + 1);
    if (LibraryIsSlowOn(pattern))
        return 0;
    const bool matchCase = (options & 1) != 0;
    const bool wholeWords = (options & 2) != 0;
    const int group = static_cast<int>((options >> 2) % 3);

    sorbex::CRegexMatcher plain(false);
    sorbex::CRegexMatcher filtered(true);
    const unsigned plainError = plain.Compile(pattern, matchCase, wholeWords);
    const unsigned filteredError = filtered.Compile(pattern, matchCase, wholeWords);
    if (plainError != filteredError)
        std::abort();
    if (plainError != 0)
        return 0;
    if (Scan(plain, text, group) != Scan(filtered, text, group))
        std::abort();
    return 0;
}
