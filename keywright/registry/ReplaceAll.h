// The text replacement engine: every occurrence of a find text replaced, within a
// fixed output capacity, with the pieces reported to a segment callback.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace keywright {

// One piece of the result: unchanged text, or a replaced (`changed`) occurrence.
using SegmentCallback = std::function<void(std::string_view text, bool changed)>;

// Replaces the occurrences of `find` in `source` by `replacement`, left to right and
// without overlap, into `output`, which holds `capacity` + 1 bytes. Without
// `matchCase` occurrences are found on copies upper-cased in a-z only; the output
// is always copied from `source`, so unmatched text keeps its case. With `showOld`
// the callback gets each matched text of `source` instead of the replacement.
// `replaced` tells whether anything was replaced. Returns 1 when the whole result
// (at most `capacity` characters) fitted and was terminated, else 0; the output is
// then incomplete. An empty `find` matches nothing.
int ReplaceAll(char* output, std::size_t capacity, std::string_view source, std::string_view find,
               std::string_view replacement, bool matchCase, bool* replaced,
               const SegmentCallback& segment = nullptr, bool showOld = false);

} // namespace keywright
