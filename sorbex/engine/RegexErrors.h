// Translation of the regular-expression library's compile errors into message numbers.
#pragma once

namespace sorbex {

// The string number for the error whose text the library's pattern compiler returned:
// 9799 + the library's error code, or IDS_RE_INVALID for a text that no code has.
unsigned RegexCompileErrorId(const char* libraryMessage);

} // namespace sorbex
