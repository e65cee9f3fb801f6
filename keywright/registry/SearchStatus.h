// What the search window shows of a running search, decided away from the window: when
// the worker posts its progress, and which status-bar parts change to which text.
#pragma once

#include "platform/Clock.h"
#include "registry/RegistrySearch.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace keywright {

// Progress comes with every key and value; the status bar needs it a few times a
// second, and the done message brings the last one. The worker posts when the kind
// changes, or once the interval has passed, and never while a posted one still waits.
class ProgressThrottle {
public:
    static constexpr std::uint32_t kIntervalMs = 100;

    explicit ProgressThrottle(kestrix::Clock& clock) : clock_(clock) {}

    // Whether to post for progress of `kind` now; a true answer counts as posted.
    bool ShouldPost(int kind);
    // The window has taken the posted progress.
    void Taken() { waiting_ = false; }
    // A new search starts.
    void Reset();

private:
    kestrix::Clock& clock_;
    bool waiting_ = false;
    int postedKind_ = 0;
    std::uint32_t postedAt_ = 0;
};

// The status bar: part 0 the state, parts 1 to 3 the keys, values and data counts.
constexpr std::size_t kStatusParts = 4;
using StatusTexts = std::array<std::optional<std::string>, kStatusParts>;

class SearchStatusView {
public:
    // The parts to rewrite for `progress`. The state text changes with the kind. At the
    // end the parts show what was found. While running, a count's part is rewritten
    // only as the count passes another hundred, showing that multiple of 100.
    StatusTexts Show(const SearchProgress& progress);
    // A new search starts.
    void Reset();

private:
    int shownKind_ = 0;
    std::array<std::uint32_t, kStatusParts - 1> shownHundreds_{};
};

} // namespace keywright
