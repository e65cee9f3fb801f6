// A growable run of bytes kept in fixed-size chunks.
#include "platform/compound/ChunkedBytes.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

namespace kestrix {
namespace compound {

std::size_t ChunkedBytes::ReadAt(std::uint64_t offset, void* out, std::size_t count) const {
    if (offset >= size_)
        return 0;
    count = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset));
    auto* to = static_cast<char*>(out);
    ForEachPart(offset, count, [&](char* chunk, std::size_t done, std::size_t part) {
        std::memcpy(to + done, chunk, part);
    });
    return count;
}

bool ChunkedBytes::Reserve(std::uint64_t size) {
    // No process holds more than half of its address space in one store; a larger size
    // fails at once rather than after taking all the memory there is.
    if (size > std::numeric_limits<std::size_t>::max() / 2)
        return false;
    const std::uint64_t needed = size / kChunkBytes + (size % kChunkBytes != 0 ? 1 : 0);
    if (needed > chunks_.max_size())
        return false;
    const std::size_t before = chunks_.size();
    try {
        const auto count = static_cast<std::size_t>(needed);
        if (count > chunks_.capacity())
            chunks_.reserve(std::max(count, std::min(chunks_.capacity() * 2, chunks_.max_size())));
        while (chunks_.size() < needed)
            chunks_.push_back(std::unique_ptr<char[]>(new char[kChunkBytes]()));
    } catch (const std::bad_alloc&) {
        chunks_.resize(before);
        return false;
    } catch (const std::length_error&) {
        return false;
    }
    return true;
}

bool ChunkedBytes::WriteAt(std::uint64_t offset, const void* data, std::size_t count) {
    if (count == 0)
        return true;
    const std::uint64_t end = offset + count;
    if (end < offset)
        return false;
    if (end > size_) {
        if (!SetSize(end))
            return false;
    }
    const auto* from = static_cast<const char*>(data);
    ForEachPart(offset, count, [&](char* chunk, std::size_t done, std::size_t part) {
        std::memcpy(chunk, from + done, part);
    });
    return true;
}

bool ChunkedBytes::SetSize(std::uint64_t size) {
    if (size > size_) {
        if (!Reserve(size))
            return false;
        size_ = size;
        return true;
    }
    // What is cut off must read as zeros should the run grow again.
    const std::uint64_t keep = (size + kChunkBytes - 1) / kChunkBytes;
    chunks_.resize(static_cast<std::size_t>(keep));
    const auto within = static_cast<std::size_t>(size % kChunkBytes);
    if (within != 0)
        std::memset(chunks_.back().get() + within, 0, kChunkBytes - within);
    size_ = size;
    return true;
}

} // namespace compound
} // namespace kestrix
