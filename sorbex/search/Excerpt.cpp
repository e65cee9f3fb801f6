// The one-line context around a passage that a result shows without opening the file.
#include "search/Excerpt.h"

#include <algorithm>

namespace sorbex {
namespace {

bool IsLineBreak(char c) {
    return c == '\n' || c == '\f' || c == '\r';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Moves the excerpt's start back from the passage while `keepGoing` allows and not
// before `floor`; the excerpt then starts just after the leftmost blank met, so that it
// does not begin in the middle of a word, or where the movement stopped.
template <typename KeepGoing>
int MoveStartBack(const char* t, int a, int floor, KeepGoing keepGoing) {
    int stopped = a;
    int leftmostBlank = -1;
    for (int i = a - 1; i >= floor && keepGoing(i); --i) {
        stopped = i;
        if (IsBlank(t[i]))
            leftmostBlank = i;
    }
    return leftmostBlank >= 0 ? leftmostBlank + 1 : stopped;
}

// Extends the excerpt's end from the passage's end while it stays below the reach
// from `p` and inside the text, then cuts it at the last blank met.
int ExtendEnd(const char* t, int n, int p, int b) {
    int q = b;
    int lastBlank = -1;
    while (q - p < kExcerptReach && q < n) {
        if (IsBlank(t[q]))
            lastBlank = q;
        ++q;
    }
    return lastBlank >= 0 ? lastBlank : q;
}

} // namespace

CExcerpt BuildExcerpt(const char* t, std::size_t length, int a, int b) {
    const int n = static_cast<int>(std::min<std::size_t>(length, 0x7FFFFFFF));
    a = std::clamp(a, 0, n);
    b = std::clamp(b, a, n);

    // Line start: a line break within reach before the passage, or the text's start.
    bool startFound = false;
    int s = 0;
    for (int i = a - 1; i >= std::max(0, a - kExcerptReach); --i) {
        if (IsLineBreak(t[i])) {
            s = i + 1;
            startFound = true;
            break;
        }
    }
    if (!startFound && a <= kExcerptReach) {
        s = 0;
        startFound = true;
    }

    // Line end (the last byte of the line): a break within reach after the passage,
    // or the text's end.
    bool endFound = false;
    int e = 0;
    const int endLimit = b > n - 1 - kExcerptReach ? n - 1 : b + kExcerptReach;
    for (int i = b; i <= endLimit; ++i) {
        if (IsLineBreak(t[i])) {
            e = i - 1;
            endFound = true;
            break;
        }
    }
    if (!endFound && endLimit == n - 1) {
        e = n - 1;
        endFound = true;
    }

    int p = a; // the excerpt is [p, q)
    int q = b;
    if (startFound && endFound) {
        const int lineLength = e - s + 1;
        if (lineLength <= kExcerptReach) {
            p = s;
            q = e + 1;
        } else if (e - b + 1 >= a - s) {
            // More of the line follows the passage: keep the line's start and cut after
            // the passage at the last blank within reach of it.
            p = s;
            q = s + kExcerptReach;
            for (int i = s + kExcerptReach - 1; i >= b; --i) {
                if (IsBlank(t[i])) {
                    q = i;
                    break;
                }
            }
        } else {
            q = e + 1;
            p = MoveStartBack(t, a, s, [&](int i) { return q - i < kExcerptReach; });
        }
    } else if (startFound) {
        p = s;
        q = ExtendEnd(t, n, p, b);
    } else if (endFound) {
        q = e + 1;
        p = MoveStartBack(t, a, 0, [&](int i) { return q - i < kExcerptReach; });
    } else {
        const int middle = a + (b - a) / 2;
        p = MoveStartBack(t, a, 0, [&](int i) { return middle - i < kExcerptReach / 2; });
        q = ExtendEnd(t, n, p, b);
    }

    // The excerpt never cuts into the passage.
    q = std::max(q, b);
    while (p < a && IsBlank(t[p]))
        ++p;
    while (q > b && IsBlank(t[q - 1]))
        --q;

    // Within the length limit the whole passage stays visible with what context fits;
    // a passage longer than the limit shows its beginning.
    if (b - a >= kMaxExcerptLength) {
        p = a;
        q = a + kMaxExcerptLength;
    } else if (q - p > kMaxExcerptLength) {
        if (b - p > kMaxExcerptLength)
            p = b - kMaxExcerptLength;
        q = p + kMaxExcerptLength;
    }

    CExcerpt excerpt;
    excerpt.text.assign(t + p, static_cast<std::size_t>(q - p));
    excerpt.passageStart = a - p;
    excerpt.passageEnd = std::min(b, q) - p;
    return excerpt;
}

} // namespace sorbex
