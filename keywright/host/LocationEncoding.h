// The escapes of location texts: "%" and ":" encoded, their decoding, and the space
// escape of texts handed over by the launcher.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

namespace keywright {

// Shows a text from the string table to the user; the host connects its message box.
using ShowText = std::function<void(const std::string& text)>;

// "%" becomes "%%" and ":" becomes "%3A"; every other byte stays.
std::string EncodeSpecialChars(const std::string& text);

// Encodes the NUL-terminated `text` in place. When the result with its NUL does not
// fit `capacity` bytes, shows message 2094, leaves the text unchanged and returns false.
bool EncodeSpecialChars(std::size_t capacity, char* text, const ShowText& show);

// "%%" becomes "%" and "%" with two hexadecimal digits becomes that byte. A "%"
// followed by anything else, or at the end, stops decoding: `text` becomes what was
// decoded before it and the result is false.
bool DecodeSpecialChars(std::string& text);

// The same on a NUL-terminated text in place; decoding never lengthens it.
bool DecodeSpecialChars(std::size_t capacity, char* text);

// Each "__space__" becomes one space.
std::string ReplaceSpaceEscape(const std::string& text);

} // namespace keywright
