// Letter case of file names in the program's 8-bit code page (Windows Latin-1).
#pragma once

#include <string>

namespace sorbex {

// The lower-case form of a byte: ASCII and the accented Latin-1 capitals, and the
// capitals the code page keeps at 0x8A, 0x8C, 0x8E and 0x9F.
unsigned char LowerNameChar(unsigned char c);

// Whether two names or paths are the same but for the letter case above.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// How a name that is its own short name is shown: all lower case with the first
// letter upper case (README.TXT becomes Readme.txt).
std::string RecaseShortName(const std::string& name);

} // namespace sorbex
