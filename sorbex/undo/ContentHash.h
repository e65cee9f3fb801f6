// The 64-bit content hash that tells whether a file still holds what a replacement wrote.
#pragma once

#include <cstdint>
#include <string>

namespace sorbex {

// FNV-1a over all bytes. Together with the size it tells an unchanged file from an
// edited one; it is no defence against someone who forges a file on purpose, and
// needs none: a file forged to match is put back to what it held before the walk.
std::uint64_t ContentHash(const std::string& bytes);

// Sixteen lower-case hexadecimal digits, and back; false for anything else.
std::string HashText(std::uint64_t hash);
bool ParseHashText(const std::string& text, std::uint64_t& hash);

} // namespace sorbex
