// Packed blocks: a memory block stored with a flag saying whether it is compressed.
#include "storage/PackedBlock.h"

#include <cstring>
#include <new>

#include <zlib.h>

#include "storage/LittleEndian.h"

namespace sorbex {
namespace {

// zlib never expands by more than this factor (a run of one byte value), so a longer
// announced length means the block is damaged.
constexpr std::uint64_t kMaxInflateRatio = 1032;

} // namespace

bool PackBlock(const void* data, std::size_t size, bool compress,
               std::vector<std::uint8_t>& block) {
    block.clear();
    if (size == 0 || data == nullptr)
        return false;
    try {
        if (!compress) {
            block.resize(4 + size);
            PutUInt32(block.data(), kPlainBlock);
            std::memcpy(block.data() + 4, data, size);
            return true;
        }
        if (size > 0xFFFFFFFFu)
            return false;
        uLongf packed = compressBound(static_cast<uLong>(size));
        block.resize(8 + packed);
        if (compress2(block.data() + 8, &packed, static_cast<const Bytef*>(data),
                      static_cast<uLong>(size), Z_DEFAULT_COMPRESSION) != Z_OK) {
            block.clear();
            return false;
        }
        PutUInt32(block.data(), kCompressedBlock);
        PutUInt32(block.data() + 4, static_cast<std::uint32_t>(size));
        block.resize(8 + packed);
        return true;
    } catch (const std::bad_alloc&) {
        block.clear();
        return false;
    }
}

bool UnpackBlock(const std::uint8_t* block, std::size_t size, std::string& data) {
    data.clear();
    if (block == nullptr || size < 4)
        return false;
    try {
        if (GetUInt32(block) != kCompressedBlock) {
            data.assign(reinterpret_cast<const char*>(block + 4), size - 4);
            return true;
        }
        if (size < 8)
            return false;
        const std::uint32_t length = GetUInt32(block + 4);
        const std::size_t packed = size - 8;
        if (length == 0 || length > (packed + 1) * kMaxInflateRatio)
            return false;
        data.resize(length);
        uLongf got = length;
        if (uncompress(reinterpret_cast<Bytef*>(&data[0]), &got, block + 8,
                       static_cast<uLong>(packed)) != Z_OK ||
            got != length) {
            data.clear();
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        data.clear();
        return false;
    }
}

} // namespace sorbex
