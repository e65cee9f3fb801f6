// A term's pattern prepared for the prefilters: folded as the library reads it, split
// into its top-level alternatives.
#pragma once

#include <string>
#include <vector>

namespace sorbex {

// The automaton and the keyword analysis read the pattern with gnulib's dfa parser,
// the matcher with the regex library. Both follow the same syntax bits, but they part
// ways on a few odd constructs; a pattern that holds one of them gets no prefilters,
// which costs speed and nothing else.
struct CPrefilterPattern {
    bool usable = false;
    // The pattern with every byte the library folds replaced by its upper-case form
    // (when folding), for an automaton that runs on text folded the same way.
    std::string folded;
    // The top-level alternatives of `folded` (split at `|` and line feeds outside
    // groups and lists).
    std::vector<std::string> alternatives;
};

// `usable` is false when the pattern
// - holds a repetition operator where nothing can be repeated (at the start of the
//   pattern, of a group or of an alternative, or after an anchor): the library skips
//   the operator, the automaton repeats the empty string or the anchor;
// - holds an anchor inside a group, where the library's repetition of the group
//   matches anchors in places the automaton does not;
// - holds a zero byte, an unbalanced parenthesis or an unfinished list or escape;
// - when folding, escapes a letter that the library then takes literally and unfolded
//   (`\a` never matches a folded text, but a keyword "a" would).
CPrefilterPattern PreparePrefilterPattern(const std::string& pattern, bool caseFold);

} // namespace sorbex
