// Turning a file's bytes into the text that search expressions see.
#pragma once

#include <cstddef>

namespace sorbex {

// In place and without changing the length, so that offsets stay those of the file:
// every CR becomes LF, every other byte below 32 (TAB and NUL included) a blank.
void CleanText(char* buffer, std::size_t length);

// CleanText over the ASCII start of the buffer, in the same pass that finds where it
// ends: returns the offset of the first byte from 0x80 up (or `length`), every byte
// before it cleaned and every byte from it on untouched. A file of ASCII alone is
// then read once, rather than once to tell its encoding and once to clean it.
std::size_t CleanAsciiStart(char* buffer, std::size_t length);

} // namespace sorbex
