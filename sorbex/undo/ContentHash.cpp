// The 64-bit content hash that tells whether a file still holds what a replacement wrote.
#include "undo/ContentHash.h"

namespace sorbex {

std::uint64_t ContentHash(const std::string& bytes) {
    constexpr std::uint64_t kOffsetBasis = 14695981039346656037ULL;
    constexpr std::uint64_t kPrime = 1099511628211ULL;
    std::uint64_t hash = kOffsetBasis;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= kPrime;
    }
    return hash;
}

std::string HashText(std::uint64_t hash) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, hash >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
    return text;
}

bool ParseHashText(const std::string& text, std::uint64_t& hash) {
    if (text.size() != 16)
        return false;
    hash = 0;
    for (const char c : text) {
        int digit = 0;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return false;
        hash = (hash << 4) | static_cast<std::uint64_t>(digit);
    }
    return true;
}

} // namespace sorbex
