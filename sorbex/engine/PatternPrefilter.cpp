// The prefilters of a regular-expression term: a keyword set and a deterministic
// automaton that find the lines worth the library's time.
#include "engine/PatternPrefilter.h"

#include <cstring>
#include <new>

#include "engine/CaseFold.h"
#include "engine/PrefilterPattern.h"
#include "strings/StringIds.h"

namespace sorbex {
namespace {

// The automaton of a whole-word search wants its match between non-word bytes, as the
// matcher's word rule does; the library itself gets the bare pattern.
const char kWordPrefix[] = "(^|[^0-9A-Za-z_])(";
const char kWordSuffix[] = ")([^0-9A-Za-z_]|$)";

const char* LineStart(const char* from, const char* at) {
    while (at > from && at[-1] != '\n') {
        --at;
    }
    return at;
}

} // namespace

unsigned CPatternPrefilter::Build(const std::string& pattern, bool caseFold, bool wholeWords,
                                  std::unique_ptr<CPatternPrefilter>& prefilter) {
    prefilter.reset();
    const CPrefilterPattern prepared = PreparePrefilterPattern(pattern, caseFold);
    if (!prepared.usable) {
        return 0;
    }
    CMustStrings musts;
    DfaStatus status = FindMustStrings(prepared.alternatives, musts);
    if (status == DfaStatus::kOutOfMemory) {
        return IDS_MEMORY_OVERFLOW;
    }
    if (status == DfaStatus::kRejected) {
        return 0; // the dfa parser reads the pattern differently: no prefilters
    }

    std::unique_ptr<CPatternPrefilter> built(new (std::nothrow) CPatternPrefilter());
    if (built == nullptr) {
        return IDS_MEMORY_OVERFLOW;
    }
    built->wholeWords = wholeWords;
    built->caseFold = caseFold;
    for (std::size_t c = 0; c < built->upper.size(); ++c) {
        built->upper[c] = FoldToUpper(static_cast<unsigned char>(c));
    }
    try {
        if (!musts.strings.empty()) {
            built->keywords = std::make_unique<CKeywordSet>(musts.strings, caseFold);
            built->exact = musts.exact;
        }
        // An exact keyword set answers alone unless the word rule must be checked.
        if (!built->exact || wholeWords) {
            const std::string text =
                wholeWords ? kWordPrefix + prepared.folded + kWordSuffix : prepared.folded;
            status = CDfaSearcher::Build(text, built->automaton);
            if (status == DfaStatus::kOutOfMemory) {
                return IDS_MEMORY_OVERFLOW;
            }
            if (status == DfaStatus::kRejected) {
                return 0;
            }
        }
    } catch (const std::bad_alloc&) {
        return IDS_MEMORY_OVERFLOW;
    }
    prefilter = std::move(built);
    return 0;
}

const char* CPatternPrefilter::NextCandidateLine(const char* from, const char* end) const {
    const char* matchStart = nullptr;
    const char* matchEnd = nullptr;
    return Next(from, end, false, matchStart, matchEnd);
}

const char* CPatternPrefilter::NextCandidate(const char* from, const char* end,
                                             const char*& matchStart, const char*& matchEnd) const {
    return Next(from, end, true, matchStart, matchEnd);
}

const char* CPatternPrefilter::Next(const char* from, const char* end, bool spanWanted,
                                    const char*& matchStart, const char*& matchEnd) const {
    matchStart = nullptr;
    matchEnd = nullptr;
    const unsigned char* fold = caseFold ? upper.data() : nullptr;
    if (keywords == nullptr) {
        return automaton != nullptr ? automaton->FirstMatchingLine(from, end, fold) : from;
    }
    const char* line = from;
    while (line < end) {
        CKeywordSet::Hit hit;
        if (!keywords->Find(line, static_cast<std::size_t>(end - line), hit)) {
            return nullptr;
        }
        const char* at = line + hit.start;
        const char* candidate = LineStart(line, at);
        // Keywords hold no line feed, so the leftmost of them lies on the first line
        // that has a match, and is that match.
        if (exact && spanWanted && !wholeWords) {
            matchStart = at;
            matchEnd = line + hit.end;
            return candidate;
        }
        if (automaton == nullptr) {
            return candidate;
        }
        const void* feed = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
        const char* lineEnd = feed != nullptr ? static_cast<const char*>(feed) : end;
        if (automaton->FirstMatchingLine(candidate, lineEnd, fold) != nullptr) {
            return candidate;
        }
        line = lineEnd == end ? end : lineEnd + 1;
    }
    return nullptr;
}

} // namespace sorbex
