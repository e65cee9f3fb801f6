// The standard pattern matcher: a term compiled as a GNU regular expression.
#include "engine/RegexMatcher.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "engine/CaseFold.h"
#include "engine/GnuRegex.h"
#include "engine/PatternPrefilter.h"
#include "engine/PatternShapes.h"
#include "engine/RegexErrors.h"
#include "engine/RepetitionRuns.h"
#include "engine/WordBytes.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

// Extended syntax without character classes: "[:alpha:]" inside a list stands for its
// bytes, a repetition with nothing before it is ignored, a line feed separates
// alternatives and a negated list never matches a line feed.
constexpr reg_syntax_t kSyntax = RE_CONTEXT_INDEP_ANCHORS | RE_CONTEXT_INDEP_OPS |
                                 RE_HAT_LISTS_NOT_NEWLINE | RE_INTERVALS | RE_NEWLINE_ALT |
                                 RE_NO_BK_BRACES | RE_NO_BK_PARENS | RE_NO_BK_VBAR;
static_assert(kSyntax == 0xBB18, "the pattern language depends on exactly these bits");

constexpr std::size_t kByteValues = 256;

#if defined(SORBEX_NO_PREFILTERS)
constexpr bool kPrefiltersBuilt = false;
#else
constexpr bool kPrefiltersBuilt = true;
#endif

bool IsWholeWord(const char* line, std::ptrdiff_t length, std::ptrdiff_t start,
                 std::ptrdiff_t size) {
    const bool freeBefore = start == 0 || !IsWordByte(static_cast<unsigned char>(line[start - 1]));
    const bool freeAfter =
        start + size == length || !IsWordByte(static_cast<unsigned char>(line[start + size]));
    return freeBefore && freeAfter;
}

} // namespace

// The library keeps the fastmap and translate table it is given and frees them in
// regfree, so both come from malloc; the registers are allocated by the searches.
struct CRegexMatcher::CompiledRegex {
    re_pattern_buffer buffer{};
    re_registers registers{};

    CompiledRegex() = default;
    CompiledRegex(const CompiledRegex&) = delete;
    CompiledRegex& operator=(const CompiledRegex&) = delete;
    ~CompiledRegex() {
        regfree(&buffer);
        std::free(registers.start);
        std::free(registers.end);
    }
};

CRegexMatcher::CRegexMatcher(bool withPrefilters)
    : buildPrefilters(withPrefilters && kPrefiltersBuilt) {}

CRegexMatcher::~CRegexMatcher() = default;

// A pattern buffer for `pattern` with the line-feed anchoring and, when folding, the
// translate table; null with `error` set when it does not compile.
std::unique_ptr<CRegexMatcher::CompiledRegex> CRegexMatcher::CompileBuffer(
    const std::string& pattern, unsigned& error) const {
    auto compiled = std::make_unique<CompiledRegex>();
    re_pattern_buffer& buffer = compiled->buffer;
    buffer.fastmap = static_cast<char*>(std::malloc(kByteValues));
    if (buffer.fastmap == nullptr) {
        error = IDS_MEMORY_OVERFLOW;
        return nullptr;
    }
    if (caseFold) {
        using TranslateTable = decltype(buffer.translate);
        buffer.translate = static_cast<TranslateTable>(std::malloc(kByteValues));
        if (buffer.translate == nullptr) {
            error = IDS_MEMORY_OVERFLOW;
            return nullptr;
        }
        for (std::size_t c = 0; c < kByteValues; ++c) {
            buffer.translate[c] = FoldToUpper(static_cast<unsigned char>(c));
        }
    }
    buffer.newline_anchor = 1;
    buffer.no_sub = 0;

    // The syntax is a process-wide setting of the library that only the compile reads;
    // setting it right before every compile keeps other users of the library from
    // changing our pattern language.
    re_syntax_options = kSyntax;
    if (const char* message = re_compile_pattern(pattern.data(), pattern.size(), &buffer)) {
        error = RegexCompileErrorId(message);
        return nullptr;
    }
    return compiled;
}

unsigned CRegexMatcher::Compile(const std::string& pattern, bool matchCase, bool wholeWords) {
    regex.reset();
    repeatsNullableGroup = false;
    prefilter.reset();
    caseFold = !matchCase;
    matchWords = wholeWords;

    const std::string folded = FoldEmptyAlternatives(CollapseRepetitionRuns(pattern));
    if (const unsigned refused = CheckPatternLimits(folded)) {
        return refused;
    }
    repeatsNullableGroup = AnalysePattern(folded).repeatsNullableGroup;
    unsigned error = 0;
    std::unique_ptr<CompiledRegex> compiled = CompileBuffer(folded, error);
    if (compiled == nullptr) {
        return error;
    }
    if (buildPrefilters) {
        std::unique_ptr<CPatternPrefilter> built;
        if (const unsigned prefilterError =
                CPatternPrefilter::Build(folded, caseFold, matchWords, built)) {
            return prefilterError;
        }
        prefilter = std::move(built);
    }
    regex = std::move(compiled);
    return 0;
}

void CRegexMatcher::Activate(CPatternMatcher*& activeSlot) {
    previousActive = activeSlot;
    activeSlot = this;
}

void CRegexMatcher::Deactivate(CPatternMatcher*& activeSlot) {
    activeSlot = previousActive;
    previousActive = nullptr;
}

bool CRegexMatcher::FindMatch(const char* text, std::size_t length, int group, int& start,
                              int& end) {
    if (regex == nullptr) {
        return false;
    }
    // Offsets leave as int, and glibc's library takes int lengths: a longer range is
    // searched up to INT_MAX bytes only.
    const char* const rangeEnd = text + std::min<std::size_t>(length, INT_MAX);
    const char* line = text;
    while (line < rangeEnd) {
        if (Stopped()) {
            return false;
        }
        if (prefilter != nullptr) {
            const char* matchStart = nullptr;
            const char* matchEnd = nullptr;
            line = group > 0 ? prefilter->NextCandidateLine(line, rangeEnd)
                             : prefilter->NextCandidate(line, rangeEnd, matchStart, matchEnd);
            if (line == nullptr) {
                return false;
            }
            if (matchStart != nullptr) {
                start = static_cast<int>(matchStart - text);
                end = static_cast<int>(matchEnd - text);
                return true;
            }
        }
        const void* feed = std::memchr(line, '\n', static_cast<std::size_t>(rangeEnd - line));
        const char* lineEnd = feed != nullptr ? static_cast<const char*>(feed) : rangeEnd;

        LineMatch match;
        if (SearchLine(line, lineEnd - line, match)) {
            const std::ptrdiff_t lineOffset = line - text;
            if (group <= 0) {
                // Several enclosing pairs around one term leave a group number below 1;
                // each of those pairs encloses the whole match.
                start = static_cast<int>(lineOffset + match.start);
                end = static_cast<int>(lineOffset + match.start + match.size);
                return true;
            }
            std::ptrdiff_t groupStart = -1;
            std::ptrdiff_t groupEnd = -1;
            GroupSpan(line, match, static_cast<std::size_t>(group), groupStart, groupEnd);
            start = groupStart < 0 ? -1 : static_cast<int>(lineOffset + groupStart);
            end = groupStart < 0 ? -1 : static_cast<int>(lineOffset + groupEnd);
            return true;
        }
        if (lineEnd == rangeEnd) {
            break;
        }
        line = lineEnd + 1;
    }
    return false;
}

// Finds the first acceptable match on one line (no line feed inside). The library is
// asked for no registers here: working out the groups' spans is a search of its own
// that some patterns (empty alternatives under a repetition) send round in circles, so
// it runs only for a group that a replacement targets.
bool CRegexMatcher::SearchLine(const char* line, std::ptrdiff_t length, LineMatch& match) {
    re_pattern_buffer& buffer = regex->buffer;
    const auto lineLength = static_cast<regoff_t>(length);
    regoff_t from = 0;
    for (;;) {
        buffer.not_eol = 0;
        const regoff_t found = re_search(&buffer, line, lineLength, from, lineLength - from, nullptr);
        if (found < 0) {
            return false;
        }
        // The longest match at that place, which is the one the search found.
        regoff_t size = re_match(&buffer, line, lineLength, found, nullptr);
        if (size < 0) {
            return false;
        }
        match.start = found;
        match.size = size;
        match.cut = lineLength;
        match.shortened = false;
        if (!matchWords) {
            return true;
        }
        // The library prefers the longest match, which may run into the next word
        // ("abbbc" for ab*): try shorter ones at the same place before moving on.
        for (;;) {
            if (IsWholeWord(line, length, found, size)) {
                match.size = size;
                return true;
            }
            if (size == 0) {
                break;
            }
            buffer.not_eol = 1;
            const regoff_t cut = found + size - 1;
            const regoff_t shorter = re_match(&buffer, line, cut, found, nullptr);
            buffer.not_eol = 0;
            if (shorter < 1) {
                break;
            }
            size = shorter;
            match.cut = cut;
            match.shortened = true;
        }
        if (found >= lineLength) {
            return false;
        }
        from = found + 1;
    }
}

// The span of `group` in `match`, from the library's registers for that same match. The
// library works them out by walking back through the match; in a repeated group with
// two alternatives that can match nothing ("(x*|.|y*)+") that walk may go round for ever,
// and the walk it takes where the pattern holds a back-reference names groups that took
// no part. There the group is reported as taking none: a replacement then changes
// nothing rather than the wrong bytes.
void CRegexMatcher::GroupSpan(const char* line, const LineMatch& match, std::size_t group,
                              std::ptrdiff_t& start, std::ptrdiff_t& end) {
    if (repeatsNullableGroup) {
        return;
    }
    re_pattern_buffer& buffer = regex->buffer;
    re_registers& registers = regex->registers;
    // The same call that found the match, now with registers.
    buffer.not_eol = match.shortened ? 1 : 0;
    const regoff_t size =
        re_match(&buffer, line, static_cast<regoff_t>(match.cut),
                 static_cast<regoff_t>(match.start), &registers);
    buffer.not_eol = 0;
    if (size != match.size || group >= registers.num_regs || registers.start[group] < 0) {
        return;
    }
    start = registers.start[group];
    end = registers.end[group];
}

} // namespace sorbex
