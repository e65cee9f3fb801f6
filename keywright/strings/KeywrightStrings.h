// The add-in's string table: every user-visible text, addressed by number.
#pragma once

#include <string>

namespace keywright {

constexpr unsigned kStrEncodeBufferTooSmall = 2094;
constexpr unsigned kStrAddinTitle = 2106;
constexpr unsigned kStrInvalidKey = 2300;
constexpr unsigned kStrKeyNotFound = 2301;
constexpr unsigned kStrValueNotFound = 2302;
constexpr unsigned kStrDefaultNotFound = 2303;
constexpr unsigned kStrSetValueFailed = 2304;
constexpr unsigned kStrNotAvailableYet = 2990;
constexpr unsigned kStrAboutVersion = 2991;
// Status bar texts of the add-in's menu commands share the commands' numbers.
constexpr unsigned kStrFirstMenuStatus = 3016;
constexpr unsigned kStrLastMenuStatus = 3024;

// The text of string `id`, or null when the table has no such string.
const char* KeywrightString(unsigned id);

// String `id` with its first "%s" replaced by `insert`. The insert is never read as
// a format, so texts from the registry or a location cannot inject one.
std::string KeywrightStringWith(unsigned id, const std::string& insert);

} // namespace keywright
