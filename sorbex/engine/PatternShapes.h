// Pattern shapes the regular-expression library handles badly: folding the harmless
// ones into what they mean, and refusing those that would exhaust its stack or memory.
#pragma once

#include <cstddef>
#include <string>

namespace sorbex {

// Deeper nesting of parentheses is refused, in the boolean layer and in each pattern:
// the library's compiler and our parser descend once per level, and a program thread
// on the 32-bit system has little stack to spare.
constexpr int kMaxNesting = 200;

// The library copies a group once per count of a repetition in braces, and nested
// optional copies cost it time and memory far beyond their number ("((x?){0,5}){0,80}"
// takes seconds and hundreds of megabytes). A pattern whose repetitions in braces add
// more than this many copies of its pieces is refused.
constexpr long kMaxRepetitionGrowth = 1000;

// The index just past the bracket list that opens at `open`, or the pattern's size when
// it never closes (the compile reports that). A "]" first in the list does not close
// it; backslashes are ordinary bytes there, and the pattern language has no character
// classes, so "[:" is no more than two bytes of the list.
std::size_t EndOfBracketList(const std::string& pattern, std::size_t open);

// Keeps one empty alternative of each alternation and drops the others: "(a||.||b)"
// means "(a||.|b)". Two empty alternatives under a repetition send the library's
// search for the groups' spans round in circles for ever; one is harmless.
std::string FoldEmptyAlternatives(const std::string& pattern);

// What the checks below read from a pattern.
struct CPatternShape {
    int depth = 0;        // the deepest nesting of parentheses
    double growth = 0;    // pieces that repetitions in braces add to the written ones
    // A group with two alternatives that can match the empty string is repeated
    // ("(x*|.|y*)+"), or one with an alternative that can beside one that tests a place
    // ("(|^a)+", "(x*|\<a)+"): the library's walk back for the groups' spans can go
    // round in it for ever.
    bool repeatsNullableGroup = false;
    // A piece that can match the empty string and holds a back-reference to a group that
    // can too is repeated without an upper bound ("(a*)(\1\1)*"): the library's matcher
    // recurses without end on it and exhausts the stack, even on a line of a few bytes.
    bool loopsOnEmptyReference = false;
};
CPatternShape AnalysePattern(const std::string& pattern);

// 0, or the number of the message that refuses the pattern: parentheses nested deeper
// than kMaxNesting, or repetitions in braces that grow the pattern by more than
// kMaxRepetitionGrowth copies (a count beyond the library's own limit included), or a
// back-reference that can match nothing repeated without bound.
unsigned CheckPatternLimits(const std::string& pattern);

} // namespace sorbex
