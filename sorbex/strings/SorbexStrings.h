// Lookup of Sorbex's user-visible texts by number, with "%1"/"%2" insertions.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "strings/StringIds.h"

namespace sorbex {

// The text of string `id`, or "" when the table has no such entry. The pointer stays
// valid for the life of the process.
const char* SorbexString(unsigned id);

// `text` with every "%1" .. "%9" replaced by the matching argument; an insertion
// without an argument, and any other "%", stays as it is.
std::string InsertArguments(std::string_view text, std::initializer_list<std::string_view> args);

// The text of string `id` with its insertions filled in, as InsertArguments does.
std::string FormatSorbexString(unsigned id, std::initializer_list<std::string_view> args);

} // namespace sorbex
