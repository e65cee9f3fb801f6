// The texts a search run closes with, and the timing they report.
#pragma once

#include <cstdint>
#include <string>

#include "text/TextConverter.h"

namespace sorbex {

// Seconds between two clock readings; the tick count may have wrapped in between.
double ElapsedSeconds(std::uint32_t startMs, std::uint32_t endMs);

// The closing message `id` (10024 or 10025) with the seconds filled in.
std::string FormatTimedMessage(unsigned id, double seconds);

// 10017 for a replace tag beyond the groups of the expression, cut to 127 characters.
std::string FormatReplaceTagTooHigh(int replaceTag, int groupCount);

// What the user is told when `library` was given up on `file` (10069 to 10071), or
// while it was being loaded (10072, `file` empty).
std::string FormatConverterFailure(const std::string& library, const std::string& file,
                                   CConverterFailure failure);

} // namespace sorbex
