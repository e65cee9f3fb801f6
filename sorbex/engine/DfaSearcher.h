// The deterministic automaton of a pattern (gnulib's dfa module) and the fixed strings
// that every match of a pattern contains.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

struct dfa;

namespace sorbex {

enum class DfaStatus {
    kOk,
    kRejected,    // the dfa parser refused the pattern
    kOutOfMemory, // an allocation of the dfa module failed
};

// Finds the lines of a text on which the pattern has a match, without groups or
// back-references (those it over-approximates: a line it passes may still hold no
// match, a line it skips never holds one).
class CDfaSearcher {
public:
    CDfaSearcher(const CDfaSearcher&) = delete;
    CDfaSearcher& operator=(const CDfaSearcher&) = delete;
    ~CDfaSearcher();

    // Builds the automaton of `pattern` in the matcher's syntax, with byte ranges as in
    // the C locale and no case folding of its own (folded patterns run on text folded
    // through the same table).
    static DfaStatus Build(const std::string& pattern, std::unique_ptr<CDfaSearcher>& searcher);

    // The start of the first line in [from, end) that holds a match, `from` counting as
    // the start of a line; each byte of the text is read through `fold` when given.
    // nullptr when no line does.
    const char* FirstMatchingLine(const char* from, const char* end, const unsigned char* fold);

private:
    CDfaSearcher() = default;

    // Runs the automaton over [from, chunkEnd), a run of whole lines; the offset of the
    // end of the first match, or -1.
    std::ptrdiff_t Scan(const char* from, std::size_t length, const unsigned char* fold);

    ::dfa* automaton = nullptr;
    ::dfa* searched = nullptr; // the automaton, or its superset where it has back-references
    bool failed = false;       // an allocation failed while scanning: every line passes
    std::vector<char> scratch; // the chunk being scanned, with room for the sentinel
};

// The fixed strings of which every match of the pattern contains at least one: one per
// alternative (`exact` when each alternative is nothing but its string, without
// anchors), or none when some alternative has no such string.
struct CMustStrings {
    std::vector<std::string> strings;
    bool exact = false;
};
DfaStatus FindMustStrings(const std::vector<std::string>& alternatives, CMustStrings& musts);

} // namespace sorbex
