// The reserved values of the archive's counts, strings and object tags.
#pragma once

#include <cstdint>

namespace sorbex {

constexpr std::uint16_t kNullTag = 0x0000;
constexpr std::uint16_t kNewClassTag = 0xFFFF;
// Set in a 2-byte tag that names an already stored class by its number.
constexpr std::uint16_t kClassTag = 0x8000;
// A number too big for the 2-byte forms follows in 4 bytes.
constexpr std::uint16_t kBigNumberTag = 0x7FFF;
// Set in the 4-byte form when the number is a class's.
constexpr std::uint32_t kBigClassTag = 0x80000000u;

constexpr std::uint16_t kBigCountTag = 0xFFFF;
constexpr std::uint8_t kLongStringTag = 0xFF;
constexpr std::uint16_t kHugeStringTag = 0xFFFF;
// Never written; in other builds' archives it announces wide-character strings.
constexpr std::uint16_t kWideStringTag = 0xFFFE;

} // namespace sorbex
