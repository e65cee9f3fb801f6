// Whether a file name matches one file mask.
#pragma once

#include <string>

namespace sorbex {

// Letters compare without regard to case; `*` matches any run of characters, `?` one
// character or none. A name without a dot matches a `.` of the mask at its end, so
// "*.*" takes README and "*." every name without an extension. The whole name must
// be consumed.
bool MatchMask(const std::string& name, const std::string& mask);

} // namespace sorbex
