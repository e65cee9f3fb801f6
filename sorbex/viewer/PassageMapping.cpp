// Carrying passage offsets of a searched text over to the text the viewer shows, by a
// tolerant alignment of the two texts.
#include "viewer/PassageMapping.h"

#include <algorithm>
#include <climits>

namespace sorbex {
namespace {

// Bytes compared per window: long enough that a chance likeness of two unrelated
// stretches of text is rare, short enough that 500 shifts cost little.
constexpr std::size_t kWindowBytes = 20;
constexpr int kAlmostIdentical = 15;
constexpr std::size_t kMaxShifts = 500;
constexpr int kAnchorRun = 3;

std::size_t SkipLineBreaks(const char* text, std::size_t length, std::size_t at) {
    while (at < length && IsLineBreakByte(text[at]))
        ++at;
    return at;
}

std::int32_t ToPosition(std::int64_t position) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(position, INT32_MIN, INT32_MAX));
}

} // namespace

int WindowSimilarity(const char* a, std::size_t lengthA, const char* b, std::size_t lengthB) {
    std::size_t i = SkipLineBreaks(a, lengthA, 0);
    std::size_t j = SkipLineBreaks(b, lengthB, 0);
    int similarity = 0;
    int run = 0;
    for (std::size_t compared = 0; compared < kWindowBytes && i < lengthA && j < lengthB;
         ++compared) {
        if (a[i] == b[j]) {
            if (++run >= kAnchorRun)
                ++similarity;
        } else {
            run = 0;
        }
        i = SkipLineBreaks(a, lengthA, i + 1);
        j = SkipLineBreaks(b, lengthB, j + 1);
    }
    return similarity;
}

void FindAnchor(const char* a, std::size_t lengthA, const char* b, std::size_t lengthB,
                std::size_t* skipA, std::size_t* skipB) {
    lengthA = std::min(lengthA, kWindowBytes);
    lengthB = std::min(lengthB, kWindowBytes);
    *skipA = 0;
    *skipB = 0;
    std::size_t i = SkipLineBreaks(a, lengthA, 0);
    std::size_t j = SkipLineBreaks(b, lengthB, 0);
    int run = 0;
    while (i < lengthA && j < lengthB) {
        if (a[i] == b[j]) {
            if (++run == kAnchorRun)
                return;
        } else {
            *skipA = i + 1;
            *skipB = j + 1;
            run = 0;
        }
        i = SkipLineBreaks(a, lengthA, i + 1);
        j = SkipLineBreaks(b, lengthB, j + 1);
    }
}

int FindShift(const char* shown, std::size_t shownLength, const char* plain,
              std::size_t plainLength) {
    int best = 0;
    int shift = 0;
    for (std::size_t i = 0; i < kMaxShifts; ++i) {
        const int signedI = static_cast<int>(i);
        if (i < shownLength) {
            const int c = WindowSimilarity(shown + i, shownLength - i, plain, plainLength);
            if (c > kAlmostIdentical)
                return signedI;
            if (c > best) {
                best = c;
                shift = signedI;
            }
        } else if (i >= plainLength) {
            break;
        }
        if (i < plainLength) {
            const int c = WindowSimilarity(shown, shownLength, plain + i, plainLength - i);
            if (c > kAlmostIdentical)
                return -signedI;
            if (c > best) {
                best = c;
                shift = -signedI;
            }
        }
    }
    return shift;
}

bool MapPassages(std::string_view shown, std::string_view plain, const std::int32_t* starts,
                 std::size_t count, std::int32_t* positions) {
    const char* const D = shown.data();
    const char* const S = plain.data();
    const std::size_t m = shown.size();
    const std::size_t n = plain.size();
    std::size_t j = 0;
    // Walks on from S[i] and D[d] while the texts agree; every passage reached lands
    // where the walk stands in the shown text. True when the last one has landed.
    const auto walk = [&](std::size_t& i, std::size_t& d) {
        i = SkipLineBreaks(S, n, i);
        d = SkipLineBreaks(D, m, d);
        while (i < n && d < m && S[i] == D[d]) {
            // Several passages may start at the same byte: each is placed here, not
            // one byte further on per passage.
            while (j < count && static_cast<std::int64_t>(i) >= starts[j]) {
                positions[j] = ToPosition(static_cast<std::int64_t>(d));
                ++j;
            }
            if (j == count)
                return true;
            i = SkipLineBreaks(S, n, i + 1);
            d = SkipLineBreaks(D, m, d + 1);
        }
        return j == count;
    };

    // Texts that begin alike are lined up where they first differ, as they are after
    // every later difference: a shift sought at the very start could take a likeness
    // a few bytes on for the better one and move the passages before it.
    std::size_t s = 0;
    std::size_t d = 0;
    if (walk(s, d))
        return true;
    while (s < n && d < m) {
        // Line the texts up again where they last differed ...
        const int h = FindShift(D + d, m - d, S + s, n - s);
        if (h < 0)
            s += static_cast<std::size_t>(-h);
        else
            d += static_cast<std::size_t>(h);
        std::size_t a = 0;
        std::size_t b = 0;
        FindAnchor(D + d, m - d, S + s, n - s, &a, &b);
        // ... passages before the end of the last difference keep the offset between
        // the texts that holds just before it, and from there on the walk places them.
        std::size_t i = s + b;
        while (j < count && starts[j] < static_cast<std::int64_t>(i)) {
            positions[j] = ToPosition(std::int64_t{starts[j]} + static_cast<std::int64_t>(d) -
                                      static_cast<std::int64_t>(s));
            ++j;
        }
        d += a;
        if (walk(i, d))
            return true;
        s = i;
    }
    return j == count;
}

} // namespace sorbex
