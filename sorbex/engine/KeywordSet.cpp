// A set of fixed strings searched in a text, optionally ignoring case.
#include "engine/KeywordSet.h"

#include <algorithm>
#include <cstring>
#include <queue>

#if defined(SORBEX_KEYWORD_VECTORS)
#include <emmintrin.h>
#endif

#include "engine/CaseFold.h"

namespace sorbex {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// A pair-shift entry at or above this names a bucket; below it, it is a shift.
constexpr std::uint16_t kPairBucket = 0x8000;

// Wu-Manber reads the text a pair of bytes at a time, so a one-byte keyword needs the
// automaton. Measured on C sources, skipping wins by far for a few keywords, even of
// two bytes, and falls behind somewhere past a hundred, where most pairs occur in some
// keyword and every window is checked; the automaton then also holds up better.
constexpr std::size_t kSkipShortest = 2;
constexpr std::size_t kSkipMostKeywords = 64;
static_assert(kSkipShortest >= 2, "a window must hold a pair and move at least one byte");

// A pair of bytes as the search reads it from the text: one 16-bit load, in whatever
// byte order the machine has; the table is built through the same load.
std::size_t LoadPair(const unsigned char* at) {
    std::uint16_t pair;
    std::memcpy(&pair, at, sizeof pair);
    return pair;
}

std::size_t PairIndex(unsigned char first, unsigned char second) {
    const unsigned char bytes[2] = {first, second};
    return LoadPair(bytes);
}

} // namespace

CKeywordSet::CKeywordSet(const std::vector<std::string>& words, bool caseFold) {
    for (std::size_t c = 0; c < fold.size(); ++c) {
        fold[c] = static_cast<unsigned char>(c);
    }
    if (caseFold) {
        // The matcher folds to upper case; the pairs are the same either way, and the
        // keywords are kept in the lower-case form.
        for (std::size_t c = 0; c < fold.size(); ++c) {
            const unsigned char upper = FoldToUpper(static_cast<unsigned char>(c));
            if (upper != c) {
                fold[upper] = static_cast<unsigned char>(c);
            }
        }
    }
    for (const std::string& word : words) {
        std::string folded = word;
        for (char& c : folded) {
            c = static_cast<char>(fold[static_cast<unsigned char>(c)]);
        }
        longest = std::max(longest, folded.size());
        keywords.push_back(std::move(folded));
    }
    if (keywords.size() == 1) {
        const std::string& word = keywords.front();
        shift.fill(word.size());
        for (std::size_t i = 0; i + 1 < word.size(); ++i) {
            shift[static_cast<unsigned char>(word[i])] = word.size() - 1 - i;
        }
#if defined(SORBEX_KEYWORD_VECTORS)
        vectorFilter = ProcessorHasSse2();
        const unsigned char ends[2] = {static_cast<unsigned char>(word.front()),
                                       static_cast<unsigned char>(word.back())};
        for (int e = 0; e < 2; ++e) {
            // Every byte that folds to this end must equal it once bit 0x20 is set in
            // both; otherwise the block filter cannot stand in for the folding table.
            bool partner = false;
            for (std::size_t c = 0; c < fold.size(); ++c) {
                if (fold[c] == ends[e] && c != ends[e]) {
                    partner = true;
                    if ((c | 0x20) != (ends[e] | 0x20u)) {
                        vectorFilter = false;
                    }
                }
            }
            blockMask[e] = partner ? 0x20 : 0;
        }
        wideFilter = vectorFilter && ProcessorHasWideBlocks();
#endif
    } else if (keywords.size() > 1) {
        shortest = keywords.front().size();
        for (const std::string& word : keywords) {
            shortest = std::min(shortest, word.size());
        }
        if (shortest >= kSkipShortest && keywords.size() <= kSkipMostKeywords) {
            BuildPairShifts();
            BuildNibbleFilter();
        } else {
            BuildAutomaton();
        }
    }
}

void CKeywordSet::BuildPairShifts() {
    // The window's last pair (its bytes shortest - 2 and shortest - 1) is the pair
    // ending at byte shortest - 1 - d of a keyword that starts `d` bytes later. The
    // window may therefore move by the least such `d` over the keywords' window-long
    // prefixes, or by shortest - 1 where none holds the pair. The table is built over
    // folded pairs and then spread to every raw pair that folds to one.
    const std::size_t reach = std::min<std::size_t>(shortest - 1, kPairBucket - 1);
    pairReach = static_cast<std::uint16_t>(reach);
    std::vector<std::uint16_t> folded(65536, pairReach);
    auto pairAt = [this](std::size_t k, std::size_t j) {
        const std::string& word = keywords[k];
        return PairIndex(static_cast<unsigned char>(word[j - 1]),
                         static_cast<unsigned char>(word[j]));
    };
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        for (std::size_t j = 1; j + 1 < shortest; ++j) {
            std::uint16_t& entry = folded[pairAt(k, j)];
            entry = std::min(entry, static_cast<std::uint16_t>(std::min(shortest - 1 - j, reach)));
        }
    }

    // The pairs that end a prefix become buckets. Before they do, their entry holds
    // how far the window may move when no keyword of the bucket matched.
    std::vector<std::size_t> order(keywords.size());
    for (std::size_t k = 0; k < order.size(); ++k) {
        order[k] = k;
    }
    // Keywords by their last window pair; within one, the longest first and, among
    // equal keywords, the one added first, so that the first match in a bucket wins.
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::size_t pairA = pairAt(a, shortest - 1);
        const std::size_t pairB = pairAt(b, shortest - 1);
        if (pairA != pairB) {
            return pairA < pairB;
        }
        if (keywords[a].size() != keywords[b].size()) {
            return keywords[a].size() > keywords[b].size();
        }
        return a < b;
    });
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::size_t pair = pairAt(order[i], shortest - 1);
        if (i == 0 || pair != pairAt(order[i - 1], shortest - 1)) {
            bucketFirst.push_back(bucketWords.size());
            bucketMiss.push_back(folded[pair]);
            // At most kSkipMostKeywords buckets, far below the entry's range.
            folded[pair] = static_cast<std::uint16_t>(kPairBucket + bucketMiss.size() - 1);
        }
        bucketWords.push_back(order[i]);
    }
    bucketFirst.push_back(bucketWords.size());

    // Only pairs holding a byte that folds to another differ from their folded form;
    // they take the entry of that form, which no step here writes.
    pairShift = std::move(folded);
    for (std::size_t c = 0; c < fold.size(); ++c) {
        if (fold[c] == c) {
            continue;
        }
        const auto byte = static_cast<unsigned char>(c);
        for (std::size_t other = 0; other < fold.size(); ++other) {
            const auto second = static_cast<unsigned char>(other);
            pairShift[PairIndex(byte, second)] = pairShift[PairIndex(fold[c], fold[other])];
            pairShift[PairIndex(second, byte)] = pairShift[PairIndex(fold[other], fold[c])];
        }
    }
}

void CKeywordSet::BuildAutomaton() {
    // The trie first, with -1 for missing edges; then a breadth-first pass turns it
    // into the complete automaton, whose missing edges follow the suffix links.
    next.push_back({});
    next[0].fill(-1);
    output.push_back(kNone);
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        int state = 0;
        for (char c : keywords[k]) {
            const auto byte = static_cast<unsigned char>(c);
            if (next[static_cast<std::size_t>(state)][byte] < 0) {
                next[static_cast<std::size_t>(state)][byte] = static_cast<int>(next.size());
                next.push_back({}); // moves the table: no reference into it lives across
                next.back().fill(-1);
                output.push_back(kNone);
            }
            state = next[static_cast<std::size_t>(state)][byte];
        }
        std::size_t& out = output[static_cast<std::size_t>(state)];
        if (out == kNone) {
            out = k; // a duplicate keyword keeps the first index
        }
    }

    std::vector<int> failure(next.size(), 0);
    std::queue<int> pending;
    for (int& edge : next[0]) {
        if (edge < 0) {
            edge = 0;
        } else {
            pending.push(edge);
        }
    }
    while (!pending.empty()) {
        const auto state = static_cast<std::size_t>(pending.front());
        pending.pop();
        const auto link = static_cast<std::size_t>(failure[state]);
        // A state's own keyword is the longest one ending there; otherwise the longest
        // comes from the suffix link, whose output is final already.
        if (output[state] == kNone) {
            output[state] = output[link];
        }
        for (std::size_t c = 0; c < 256; ++c) {
            int& edge = next[state][c];
            if (edge < 0) {
                edge = next[link][c];
            } else {
                failure[static_cast<std::size_t>(edge)] = next[link][c];
                pending.push(edge);
            }
        }
    }
}

bool CKeywordSet::Find(const char* text, std::size_t length, Hit& hit) const {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (keywords.empty()) {
        return false;
    }
    if (keywords.size() == 1) {
        return FindOne(bytes, length, hit);
    }
    if (pairShift.empty()) {
        return FindMany(bytes, length, hit);
    }
    std::size_t at = 0;
#if defined(SORBEX_KEYWORD_VECTORS)
    if (nibbleFilter) {
        at = ScanNibbleBlocks(bytes, length, hit);
        if (at == kNone) {
            return true;
        }
    }
#endif
    return FindSkipping(bytes, length, at, hit);
}

bool CKeywordSet::FindOne(const unsigned char* text, std::size_t length, Hit& hit) const {
    const std::string& word = keywords.front();
    const std::size_t size = word.size();
    if (size > length) {
        return false;
    }
    std::size_t at = 0;
#if defined(SORBEX_KEYWORD_VECTORS)
    if (wideFilter) {
        at = ScanWideBlocks(text, length, hit);
        if (at == kNone) {
            return true;
        }
    }
    if (vectorFilter) {
        at = ScanBlocks(text, length, at, hit);
        if (at == kNone) {
            return true;
        }
    }
#endif
    return Horspool(text, length, at, hit);
}

bool CKeywordSet::Horspool(const unsigned char* text, std::size_t length, std::size_t at,
                           Hit& hit) const {
    const std::string& word = keywords.front();
    const std::size_t size = word.size();
    const auto* pattern = reinterpret_cast<const unsigned char*>(word.data());
    const unsigned char lastByte = pattern[size - 1];
    while (at <= length - size) {
        const unsigned char last = fold[text[at + size - 1]];
        if (last == lastByte) {
            std::size_t i = 0;
            while (i + 1 < size && fold[text[at + i]] == pattern[i]) {
                ++i;
            }
            if (i + 1 >= size) {
                hit = {at, at + size, 0};
                return true;
            }
        }
        at += shift[last];
    }
    return false;
}

#if defined(SORBEX_KEYWORD_VECTORS)
SSE2_FUNCTION std::size_t CKeywordSet::ScanBlocks(const unsigned char* text, std::size_t length,
                                                  std::size_t at, Hit& hit) const {
    // Sixteen windows at a time are tested on their first and last byte, with bit 0x20
    // ignored where the keyword's byte has a case partner that differs only there; the
    // few windows that pass are compared in full through the folding table.
    const std::string& word = keywords.front();
    const std::size_t size = word.size();
    const auto* pattern = reinterpret_cast<const unsigned char*>(word.data());
    const __m128i firstMask = _mm_set1_epi8(static_cast<char>(blockMask[0]));
    const __m128i lastMask = _mm_set1_epi8(static_cast<char>(blockMask[1]));
    const __m128i first = _mm_set1_epi8(static_cast<char>(pattern[0] | blockMask[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(pattern[size - 1] | blockMask[1]));
    for (; length - at >= size - 1 + 16; at += 16) {
        const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        const __m128i tail =
            _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at + size - 1));
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(head, firstMask), first),
                                           _mm_cmpeq_epi8(_mm_or_si128(tail, lastMask), last));
        const auto candidates = static_cast<std::uint32_t>(_mm_movemask_epi8(both));
        if (candidates != 0 && MatchCandidates(text, at, candidates, hit)) {
            return kNone;
        }
    }
    return at;
}

bool CKeywordSet::MatchCandidates(const unsigned char* text, std::size_t at,
                                  std::uint32_t candidates, Hit& hit) const {
    const std::string& word = keywords.front();
    const auto* pattern = reinterpret_cast<const unsigned char*>(word.data());
    while (candidates != 0) {
        const std::size_t start = at + static_cast<std::size_t>(__builtin_ctz(candidates));
        std::size_t i = 0;
        while (i < word.size() && fold[text[start + i]] == pattern[i]) {
            ++i;
        }
        if (i == word.size()) {
            hit = {start, start + word.size(), 0};
            return true;
        }
        candidates &= candidates - 1;
    }
    return false;
}
#endif

bool CKeywordSet::FindMany(const unsigned char* text, std::size_t length, Hit& hit) const {
    bool found = false;
    int state = 0;
    for (std::size_t i = 0; i < length; ++i) {
        // Once a hit is known, only a keyword that starts no later than it can still win.
        if (found && i >= hit.start + longest) {
            break;
        }
        state = next[static_cast<std::size_t>(state)][fold[text[i]]];
        const std::size_t k = output[static_cast<std::size_t>(state)];
        if (k == kNone) {
            continue;
        }
        const std::size_t end = i + 1;
        const std::size_t start = end - keywords[k].size();
        if (!found || start < hit.start || (start == hit.start && end > hit.end)) {
            hit = {start, end, k};
            found = true;
        }
    }
    return found;
}

bool CKeywordSet::FindSkipping(const unsigned char* text, std::size_t length, std::size_t at,
                               Hit& hit) const {
    // Windows are tried from left to right and a window is left only once no keyword
    // can start in it before where it moves to, so the first match is the leftmost.
    if (length < shortest) {
        return false;
    }
    const std::uint16_t* table = pairShift.data();
    const unsigned char* tail = text + shortest - 2;
    const std::size_t last = length - shortest;
    while (at <= last) {
        std::uint16_t entry = table[LoadPair(tail + at)];
        // Most windows end in a pair that no keyword holds. Moving them by the constant
        // full reach, rather than by the entry read, lets the processor fetch the next
        // windows before the table has answered for this one.
        while (entry == pairReach) {
            at += pairReach;
            if (at > last) {
                return false;
            }
            entry = table[LoadPair(tail + at)];
        }
        if (entry < kPairBucket) {
            at += entry;
            continue;
        }
        const std::size_t bucket = entry - kPairBucket;
        if (MatchBucket(text, length, at, bucket, hit)) {
            return true;
        }
        at += bucketMiss[bucket];
    }
    return false;
}

bool CKeywordSet::MatchBucket(const unsigned char* text, std::size_t length, std::size_t at,
                              std::size_t bucket, Hit& hit) const {
    for (std::size_t i = bucketFirst[bucket]; i < bucketFirst[bucket + 1]; ++i) {
        const std::size_t k = bucketWords[i];
        const std::string& word = keywords[k];
        if (word.size() > length - at) {
            continue;
        }
        const auto* pattern = reinterpret_cast<const unsigned char*>(word.data());
        std::size_t j = 0;
        while (j < word.size() && fold[text[at + j]] == pattern[j]) {
            ++j;
        }
        if (j == word.size()) {
            hit = {at, at + word.size(), k};
            return true;
        }
    }
    return false;
}

} // namespace sorbex
