// Reading the location that the launcher hands over as shared text.
#pragma once

#include <string>

namespace keywright {

// The most the shared text holds.
constexpr std::size_t kLauncherTextSize = 8192;

struct LauncherLocation {
    enum Action { kRestoreLast, kIgnore, kGoto } action = kIgnore;
    std::string key;   // decoded, spaces restored
    std::string value; // decoded, spaces restored; empty for no value
};

// An empty text asks for the last location; one shorter than 5 characters is
// ignored. Otherwise the text is split at its last ":" after the fourth character
// (so "reg:" is never split), and both parts are decoded, a failed decode keeping
// what was decoded before the fault, and "__space__" turned into spaces.
LauncherLocation ParseLauncherText(const std::string& text);

} // namespace keywright
