// Preparing a file's bytes as the text that expressions are evaluated on.
#pragma once

#include <string>

namespace sorbex {

// Every carriage return becomes a line feed and every other control byte below 0x20
// (line feeds excepted) a space, so offsets stay those of the file; the string's own
// terminator is the zero byte after the last byte that the engine expects.
std::string CleanText(std::string bytes);

} // namespace sorbex
