// Packed blocks: a memory block stored with a flag saying whether it is compressed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sorbex {

// Flag values at the start of a packed block.
constexpr std::uint32_t kPlainBlock = 0;
constexpr std::uint32_t kCompressedBlock = 1;

// Packs `size` bytes: compressed, flag 1, the length and zlib's one-shot output;
// plain, flag 0 and the bytes. An empty block cannot be packed, and compression can
// fail: both return false and leave `block` empty.
bool PackBlock(const void* data, std::size_t size, bool compress, std::vector<std::uint8_t>& block);

// Reads a packed block back. Fails (false, `data` empty) for a block shorter than its
// flag, a compressed block whose bytes do not decompress to exactly the length it
// announces, and a length that no zlib stream of that size could produce, so that a
// damaged block never leads to a huge allocation.
bool UnpackBlock(const std::uint8_t* block, std::size_t size, std::string& data);

} // namespace sorbex
