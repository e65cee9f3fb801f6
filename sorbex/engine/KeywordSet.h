// A set of fixed strings searched in a text, optionally ignoring case.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The one-keyword search tests sixteen windows at a time with SSE2 instructions: built
// for them where the compiler may assume them, else (32-bit x86 builds) compiled for them
// alone and taken when the processor has them. Where the processor has AVX2, it and the
// search for a few keywords test 32 windows at a time (KeywordWideBlocks.cpp).
#include "cpu/ProcessorFeatures.h"

#if defined(SORBEX_VECTORS)
#define SORBEX_KEYWORD_VECTORS 1
#endif

namespace sorbex {

// Finds the leftmost occurrence of any keyword (the longest one where several start
// there), the way the regular-expression library would pick among literal
// alternatives. One keyword is searched with Boyer-Moore-Horspool; several with
// Wu-Manber's shifts over pairs of bytes, or with an Aho-Corasick automaton where a
// keyword has a single byte or there are very many. Folding uses the matcher's case
// pairs, in the lower-case direction.
class CKeywordSet {
public:
    struct Hit {
        std::size_t start = 0;
        std::size_t end = 0;
        std::size_t keyword = 0; // index in the order the keywords were added
    };

    // Keywords must not be empty; `caseFold` folds keywords and text alike.
    CKeywordSet(const std::vector<std::string>& keywords, bool caseFold);

    bool empty() const { return keywords.empty(); }
    std::size_t size() const { return keywords.size(); }
    const std::vector<std::string>& Words() const { return keywords; } // folded

    // The leftmost-longest occurrence in the `length` bytes from `text`.
    bool Find(const char* text, std::size_t length, Hit& hit) const;

    // Whether the keywords are searched many windows at a time; a test turns it off
    // to compare with the plain loop.
    bool UsesVectors() const { return vectorFilter || nibbleFilter; }
    void UsePlainLoop() {
        vectorFilter = false;
        wideFilter = false;
        nibbleFilter = false;
    }

private:
    bool FindOne(const unsigned char* text, std::size_t length, Hit& hit) const;
    bool Horspool(const unsigned char* text, std::size_t length, std::size_t at, Hit& hit) const;
#if defined(SORBEX_KEYWORD_VECTORS)
    // Scans whole blocks from `at`; returns npos on a hit, else where the next search
    // resumes. The wide one takes 32 windows at a time where the processor has AVX2.
    std::size_t ScanBlocks(const unsigned char* text, std::size_t length, std::size_t at,
                           Hit& hit) const;
    std::size_t ScanWideBlocks(const unsigned char* text, std::size_t length, Hit& hit) const;
    static bool ProcessorHasWideBlocks();
    // Compares the one keyword at `at` plus each set bit of `candidates`, lowest first.
    bool MatchCandidates(const unsigned char* text, std::size_t at, std::uint32_t candidates,
                         Hit& hit) const;
#endif
    bool FindMany(const unsigned char* text, std::size_t length, Hit& hit) const;
    bool FindSkipping(const unsigned char* text, std::size_t length, std::size_t at,
                      Hit& hit) const;
    void BuildNibbleFilter();
#if defined(SORBEX_KEYWORD_VECTORS)
    // The same for a few keywords: npos on a hit, else where the pair shifts resume.
    std::size_t ScanNibbleBlocks(const unsigned char* text, std::size_t length, Hit& hit) const;
#endif
    bool MatchBucket(const unsigned char* text, std::size_t length, std::size_t at,
                     std::size_t bucket, Hit& hit) const;
    void BuildAutomaton();
    void BuildPairShifts();

    std::array<unsigned char, 256> fold{};
    std::vector<std::string> keywords; // folded
    std::size_t longest = 0;

    // Boyer-Moore-Horspool: how far the window may move for its last byte.
    std::array<std::size_t, 256> shift{};

    // The block filter for one keyword: bits ignored in its first and last byte, and
    // whether the filter applies to its case pairs at all.
    unsigned char blockMask[2] = {0, 0};
    bool vectorFilter = false;
    bool wideFilter = false;

    // Aho-Corasick: a full transition table over folded bytes; `output` is the longest
    // keyword that ends in a state (through its suffix links), or npos.
    std::vector<std::array<int, 256>> next;
    std::vector<std::size_t> output;

    // Wu-Manber: windows as long as the shortest keyword, moved by the two bytes at
    // their end. `pairShift` is indexed by those two raw bytes read as one 16-bit
    // number and holds how far the window may move, or kPairBucket plus the bucket of
    // the keywords whose window-long prefix ends in that pair. A bucket lists its
    // keywords longest first and knows how far the window may move once none matched.
    std::size_t shortest = 0;
    std::uint16_t pairReach = 0; // the longest move: shortest - 1, or the entry's limit
    std::vector<std::uint16_t> pairShift;
    std::vector<std::size_t> bucketFirst; // index in bucketWords; one more than buckets
    std::vector<std::size_t> bucketWords;
    std::vector<std::size_t> bucketMiss;

    // The block filter for a few keywords (AVX2): each keyword has a bit, and three
    // bytes of every window, at offsets within the shortest keyword, are looked up by
    // their two halves in tables of the bits whose keyword may hold them there. A
    // window whose three look-ups share a bit is compared in full with the keywords of
    // its bits, longest first.
    static constexpr std::size_t kNibbleProbes = 3;
    bool nibbleFilter = false;
    std::array<std::size_t, kNibbleProbes> probeAt{};
    std::array<std::array<unsigned char, 16>, kNibbleProbes> lowHalves{};
    std::array<std::array<unsigned char, 16>, kNibbleProbes> highHalves{};
    std::vector<std::size_t> longestFirst; // keyword indices
};

} // namespace sorbex
