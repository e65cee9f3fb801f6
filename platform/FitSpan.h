// Keeping a span within a range: a window on a monitor's work area, a view on what it
// scrolls over.
#pragma once

namespace kestrix {

// Moves the span [from, to) into [low, high), shortened to fit.
inline void FitSpan(int& from, int& to, int low, int high) {
    const int room = high > low ? high - low : 0;
    int length = to - from;
    length = length < 0 ? 0 : (length > room ? room : length);
    from = from < low ? low : (from > high - length ? high - length : from);
    to = from + length;
}

} // namespace kestrix
