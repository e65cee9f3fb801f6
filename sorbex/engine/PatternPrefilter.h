// The prefilters of a regular-expression term: a keyword set and a deterministic
// automaton that find the lines worth the library's time.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "engine/DfaSearcher.h"
#include "engine/KeywordSet.h"
#include "engine/LinePrefilter.h"

namespace sorbex {

// The keyword set searches the whole remaining text for the next place where a match
// could be; the automaton then checks the line around it. Without keywords the
// automaton scans the text itself. When every keyword is the whole of its alternative,
// a keyword found is the match, and the library is not asked at all.
class CPatternPrefilter final : public CLinePrefilter {
public:
    // Builds the prefilters of `pattern`, which the library has compiled with the same
    // options. Returns 0, leaving `prefilter` empty for a pattern that gets none, or
    // IDS_MEMORY_OVERFLOW.
    static unsigned Build(const std::string& pattern, bool caseFold, bool wholeWords,
                          std::unique_ptr<CPatternPrefilter>& prefilter);

    const char* NextCandidateLine(const char* from, const char* end) const override;
    const char* NextCandidate(const char* from, const char* end, const char*& matchStart,
                              const char*& matchEnd) const override;

    const CKeywordSet* Keywords() const { return keywords.get(); }
    bool KeywordsAreExact() const { return exact; }
    bool HasAutomaton() const { return automaton != nullptr; }

private:
    CPatternPrefilter() = default;

    const char* Next(const char* from, const char* end, bool spanWanted, const char*& matchStart,
                     const char*& matchEnd) const;

    std::unique_ptr<CKeywordSet> keywords;
    bool exact = false; // every keyword is the whole of its alternative
    bool wholeWords = false;
    std::unique_ptr<CDfaSearcher> automaton;
    bool caseFold = false;
    std::array<unsigned char, 256> upper{}; // the library's translate table
};

} // namespace sorbex
