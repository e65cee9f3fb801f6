// The keyword set's block filters for processors with AVX2: 32 windows at a time, one
// keyword tested on its first and last byte, a few on three bytes each through tables
// indexed by the bytes' halves.
#include "engine/KeywordSet.h"

#include <algorithm>
#include <cstdint>

#if defined(SORBEX_KEYWORD_VECTORS)
#include <immintrin.h>
#endif

namespace sorbex {

#if defined(SORBEX_KEYWORD_VECTORS)
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Windows tested at a time.
constexpr std::size_t kWideBlock = 32;

// One bit per keyword in a table entry.
constexpr std::size_t kNibbleMostKeywords = 8;

// How often a byte turns up in the texts searched, roughly: blanks, line ends and
// lower-case letters most, then punctuation and digits, upper-case letters less, other
// control bytes and bytes from 0x80 up least. Only the order matters.
int Commonness(unsigned char byte) {
    if (byte == ' ' || byte == '\n' || byte == '\t' || (byte >= 'a' && byte <= 'z')) {
        return 8;
    }
    if (byte >= 'A' && byte <= 'Z') {
        return 3;
    }
    if (byte > ' ' && byte < 0x7F) {
        return 5;
    }
    return 1;
}

// A table of sixteen entries in both halves of a register: the look-up works per half.
AVX2_FUNCTION inline __m256i Table(const std::array<unsigned char, 16>& halves) {
    return _mm256_broadcastsi128_si256(
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(halves.data())));
}

// The bits of the keywords that may hold each of the 32 bytes from `from`.
AVX2_FUNCTION inline __m256i Look(const unsigned char* from, __m256i lows, __m256i highs,
                                  __m256i halfMask) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
    const __m256i low = _mm256_shuffle_epi8(lows, _mm256_and_si256(bytes, halfMask));
    const __m256i high =
        _mm256_shuffle_epi8(highs, _mm256_and_si256(_mm256_srli_epi16(bytes, 4), halfMask));
    return _mm256_and_si256(low, high);
}

} // namespace
#endif

void CKeywordSet::BuildNibbleFilter() {
    nibbleFilter = false;
#if defined(SORBEX_KEYWORD_VECTORS)
    if (keywords.size() > kNibbleMostKeywords || shortest == 0 || !ProcessorHasWideBlocks()) {
        return;
    }
    // The window's offsets whose bytes are rarest over the keywords, counting every
    // byte that folds to a keyword's; on a tie the later offset, where prefixes that
    // many words share have ended.
    std::vector<std::pair<int, std::size_t>> scores;
    for (std::size_t offset = 0; offset < shortest; ++offset) {
        int score = 0;
        for (const std::string& word : keywords) {
            for (std::size_t c = 0; c < fold.size(); ++c) {
                if (fold[c] == static_cast<unsigned char>(word[offset])) {
                    score += Commonness(static_cast<unsigned char>(c));
                }
            }
        }
        scores.emplace_back(score, shortest - 1 - offset);
    }
    std::sort(scores.begin(), scores.end());
    // A keyword shorter than the probes has some of its offsets probed twice.
    for (std::size_t p = 0; p < kNibbleProbes; ++p) {
        probeAt[p] = shortest - 1 - scores[p % scores.size()].second;
    }

    for (std::size_t p = 0; p < kNibbleProbes; ++p) {
        lowHalves[p].fill(0);
        highHalves[p].fill(0);
        for (std::size_t k = 0; k < keywords.size(); ++k) {
            const auto bit = static_cast<unsigned char>(1u << k);
            const auto byte = static_cast<unsigned char>(keywords[k][probeAt[p]]);
            for (std::size_t c = 0; c < fold.size(); ++c) {
                if (fold[c] == byte) {
                    lowHalves[p][c & 15] |= bit;
                    highHalves[p][c >> 4] |= bit;
                }
            }
        }
    }
    longestFirst.clear();
    for (std::size_t k = 0; k < keywords.size(); ++k) {
        longestFirst.push_back(k);
    }
    std::stable_sort(longestFirst.begin(), longestFirst.end(), [this](std::size_t a, std::size_t b) {
        return keywords[a].size() > keywords[b].size();
    });
    nibbleFilter = true;
#endif
}

bool CKeywordSet::ProcessorHasWideBlocks() {
#if defined(SORBEX_KEYWORD_VECTORS)
    return ProcessorHasAvx2();
#else
    return false;
#endif
}

#if defined(SORBEX_KEYWORD_VECTORS)
AVX2_FUNCTION std::size_t CKeywordSet::ScanWideBlocks(const unsigned char* text,
                                                      std::size_t length, Hit& hit) const {
    // ScanBlocks' test on twice as many windows at a time.
    const std::string& word = keywords.front();
    const std::size_t size = word.size();
    const auto* pattern = reinterpret_cast<const unsigned char*>(word.data());
    const __m256i firstMask = _mm256_set1_epi8(static_cast<char>(blockMask[0]));
    const __m256i lastMask = _mm256_set1_epi8(static_cast<char>(blockMask[1]));
    const __m256i first = _mm256_set1_epi8(static_cast<char>(pattern[0] | blockMask[0]));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(pattern[size - 1] | blockMask[1]));
    std::size_t at = 0;
    for (; length - at >= size - 1 + kWideBlock; at += kWideBlock) {
        const __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + at));
        const __m256i tail =
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + at + size - 1));
        const __m256i both =
            _mm256_and_si256(_mm256_cmpeq_epi8(_mm256_or_si256(head, firstMask), first),
                             _mm256_cmpeq_epi8(_mm256_or_si256(tail, lastMask), last));
        const auto candidates = static_cast<std::uint32_t>(_mm256_movemask_epi8(both));
        if (candidates != 0 && MatchCandidates(text, at, candidates, hit)) {
            return kNone;
        }
    }
    return at;
}

AVX2_FUNCTION std::size_t CKeywordSet::ScanNibbleBlocks(const unsigned char* text,
                                                         std::size_t length, Hit& hit) const {
    // A byte's halves pick the bits of the keywords that may hold it at that offset;
    // a window passes when each of its probed bytes keeps a bit the others keep. Two
    // halves that belong to different case forms of a byte may let a window through
    // that holds neither form: the full comparison sorts those out.
    const __m256i halfMask = _mm256_set1_epi8(0x0F);
    const __m256i low0 = Table(lowHalves[0]);
    const __m256i low1 = Table(lowHalves[1]);
    const __m256i low2 = Table(lowHalves[2]);
    const __m256i high0 = Table(highHalves[0]);
    const __m256i high1 = Table(highHalves[1]);
    const __m256i high2 = Table(highHalves[2]);
    const unsigned char* const at0 = text + probeAt[0];
    const unsigned char* const at1 = text + probeAt[1];
    const unsigned char* const at2 = text + probeAt[2];
    const std::size_t reach = std::max({probeAt[0], probeAt[1], probeAt[2]});
    const __m256i none = _mm256_setzero_si256();
    std::size_t at = 0;
    for (; length - at >= reach + kWideBlock; at += kWideBlock) {
        const __m256i bits = _mm256_and_si256(
            Look(at0 + at, low0, high0, halfMask),
            _mm256_and_si256(Look(at1 + at, low1, high1, halfMask),
                             Look(at2 + at, low2, high2, halfMask)));
        auto windows = ~static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bits, none)));
        if (windows == 0) {
            continue;
        }
        unsigned char kept[kWideBlock];
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(kept), bits);
        while (windows != 0) {
            const auto window = static_cast<std::size_t>(__builtin_ctz(windows));
            const std::size_t start = at + window;
            for (std::size_t k : longestFirst) {
                const std::string& word = keywords[k];
                if ((kept[window] & (1u << k)) == 0 || word.size() > length - start) {
                    continue;
                }
                std::size_t i = 0;
                while (i < word.size() &&
                       fold[text[start + i]] == static_cast<unsigned char>(word[i])) {
                    ++i;
                }
                if (i == word.size()) {
                    hit = {start, start + word.size(), k};
                    return kNone;
                }
            }
            windows &= windows - 1;
        }
    }
    return at;
}
#endif

} // namespace sorbex
