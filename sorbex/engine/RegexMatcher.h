// The standard pattern matcher: a term compiled as a GNU regular expression.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "engine/LinePrefilter.h"
#include "engine/PatternMatcher.h"

namespace sorbex {

// Matches line by line, so a match never spans a line feed, and applies the whole-word
// rule itself. Texts are single-byte (Windows-1252): the library must run in a locale
// with single-byte characters, as the C locale every program starts in is.
class CRegexMatcher final : public CPatternMatcher {
public:
    // `withPrefilters` builds the keyword set and the automaton with each compile;
    // without them the results are the same, only slower.
    explicit CRegexMatcher(bool withPrefilters = true);
    ~CRegexMatcher() override;

    unsigned Compile(const std::string& pattern, bool matchCase, bool wholeWords) override;
    void Activate(CPatternMatcher*& activeSlot) override;
    void Deactivate(CPatternMatcher*& activeSlot) override;
    bool FindMatch(const char* text, std::size_t length, int group, int& start, int& end) override;

    // Lets `filter` skip lines before the library runs on them (in place of the one that
    // Compile builds); the keyword set and the automaton plug in here.
    void SetPrefilter(std::unique_ptr<CLinePrefilter> filter) { prefilter = std::move(filter); }

private:
    struct CompiledRegex;
    // A match on one line: where it starts, how long it is, and whether the whole-word
    // rule took a shorter one than the library's longest.
    struct LineMatch {
        std::ptrdiff_t start = 0;
        std::ptrdiff_t size = 0;
        std::ptrdiff_t cut = 0; // the length of the line as the library was given it
        bool shortened = false; // searched with the line's end hidden
    };

    std::unique_ptr<CompiledRegex> CompileBuffer(const std::string& pattern,
                                                 unsigned& error) const;
    bool SearchLine(const char* line, std::ptrdiff_t length, LineMatch& match);
    void GroupSpan(const char* line, const LineMatch& match, std::size_t group,
                   std::ptrdiff_t& start, std::ptrdiff_t& end);

    std::unique_ptr<CompiledRegex> regex; // the library's pattern buffer and registers
    bool repeatsNullableGroup = false;    // see GroupSpan
    bool caseFold = false;
    bool matchWords = false;
    bool buildPrefilters = true;
    std::unique_ptr<CLinePrefilter> prefilter;
    CPatternMatcher* previousActive = nullptr;
};

} // namespace sorbex
