// How numbers, dates and sizes are written in result pages.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace sorbex {

// "12.345": "." between groups of three digits.
std::string GroupThousands(std::int64_t value);

// String 10020 ("%a, %d.%m.%y at %H:%M") filled from a calendar time.
std::string FormatResultDate(const std::tm& time);
// The same for seconds since 1970 in local time; false when the system cannot
// express the time as a local date.
bool FormatResultDate(std::int64_t secondsSince1970, std::string& text);

// String 10021 ("%s bytes") with the grouped size.
std::string FormatResultSize(std::uint64_t bytes);

} // namespace sorbex
