// The bytes that make up a word for the whole-word rule.
#pragma once

namespace sorbex {

// ASCII letters, digits and '_'. Bytes from 0x80 up are never word bytes, so an umlaut
// ends a word just as a space does.
inline bool IsWordByte(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

} // namespace sorbex
