// Base64 as mail carries it: lines of at most 76 characters.
#pragma once

#include <string>

namespace keywright {

constexpr std::size_t kBase64LineLength = 76;

// `bytes` in base64, a CR LF between lines of kBase64LineLength characters and none
// after the last line.
std::string EncodeBase64Lines(const std::string& bytes);

} // namespace keywright
