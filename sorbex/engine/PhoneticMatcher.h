// The phonetic matcher: a term found by the sound code of its letters.
#pragma once

#include <cstddef>
#include <string>

#include "engine/PatternMatcher.h"
#include "engine/PhoneticCode.h"

namespace sorbex {

// The operand is reduced to one sound code, and the text is found where its letters
// reduce to the same code: from any byte inside a word up to the byte that completes
// the code, or, with whole words, a whole word whose code is the operand's. Case never
// matters. A space or line feed ends every candidate, so a match never spans words that
// a space separates.
class CPhoneticMatcher final : public CPatternMatcher {
public:
    // Fails with the "at least one character" message when the operand holds no letter,
    // digit or listed accented letter. `matchCase` is ignored.
    unsigned Compile(const std::string& pattern, bool matchCase, bool wholeWords) override;
    void Activate(CPatternMatcher*& activeSlot) override;
    void Deactivate(CPatternMatcher*& activeSlot) override;

    // Searches up to `length` bytes or the first zero byte, whichever comes first. There
    // are no groups: every `group` reports the whole match.
    bool FindMatch(const char* text, std::size_t length, int group, int& start, int& end) override;

private:
    bool FindInsideWords(const char* text, std::size_t length, int& start, int& end) const;
    bool FindWholeWord(const char* text, std::size_t length, int& start, int& end) const;

    PhoneticCode code{};
    std::size_t codeLength = 0;
    bool wholeWords = false;
    CPatternMatcher* previousActive = nullptr;
};

} // namespace sorbex
