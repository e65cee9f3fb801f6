// Reading the text the launcher leaves in the named shared memory "REGURL_THINGY".
#pragma once

#include <cstddef>
#include <string>

namespace keywright {

constexpr wchar_t kSharedTextName[] = L"REGURL_THINGY";
constexpr std::size_t kSharedTextBytes = 4096;

// Copies the text, cut to `capacity` - 1 characters. Returns 0 on success, 1 when
// the memory could not be opened or mapped.
int ReadSharedText(std::size_t capacity, std::string* text);

} // namespace keywright
