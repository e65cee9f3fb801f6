// Turning a file's bytes into the text that search expressions see.
#pragma once

#include <cstddef>

namespace sorbex {

// In place and without changing the length, so that offsets stay those of the file:
// every CR becomes LF, every other byte below 32 (TAB and NUL included) a blank.
void CleanText(char* buffer, std::size_t length);

} // namespace sorbex
