// The sound code of a word: letter expansion of Windows-1252 bytes, digit classes, Encode.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace sorbex {

constexpr std::size_t kPhoneticCodeSize = 10;

// The first letter of a word followed by the digit classes ('1' to '6') of the letters
// after it; unused bytes are zero, and a full code has no terminating zero.
using PhoneticCode = std::array<char, kPhoneticCodeSize>;

// The upper-case letters that `byte` stands for: umlauts and ß are spelt out, digits
// become their German number words, accented vowels lose the accent. Bytes without
// letters (punctuation, spaces, Â Ê Ô Û) give nothing.
std::string_view PhoneticExpansion(unsigned char byte);

// The class of an upper-case letter, '0' for the vowel-like letters A E H I O U W Y.
char PhoneticDigit(char letter);

// The code of `text` as a whole: bytes without letters are skipped rather than
// separating words, so "Hans Meier" gets one code.
PhoneticCode EncodePhonetic(std::string_view text);

// The number of characters in `code` (up to kPhoneticCodeSize).
std::size_t PhoneticCodeLength(const PhoneticCode& code);

} // namespace sorbex
