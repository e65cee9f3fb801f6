// The cache's "Index" stream: the entries of the files whose names share one hash.
#include "storage/CacheIndex.h"

#include <cstring>

#include "storage/LittleEndian.h"

namespace sorbex {
namespace {

void PutUInt64(std::uint8_t* p, std::uint64_t value) {
    // FILETIME order: low word first.
    PutUInt32(p, static_cast<std::uint32_t>(value));
    PutUInt32(p + 4, static_cast<std::uint32_t>(value >> 32));
}

std::uint64_t GetUInt64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(GetUInt32(p)) | static_cast<std::uint64_t>(GetUInt32(p + 4))
                                                          << 32;
}

bool GetField(const std::uint8_t* p, std::string& text) {
    const void* nul = std::memchr(p, 0, kCacheNameField);
    if (!nul)
        return false;
    text.assign(reinterpret_cast<const char*>(p), static_cast<const std::uint8_t*>(nul) - p);
    return true;
}

constexpr std::uint32_t kCacheIndexVersion = 0;

} // namespace

std::uint32_t CacheNameHash(const std::string& name) {
    std::uint32_t hash = 0;
    for (char c : name) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        // Bytes above 127 count as negative, as a signed char does; the unsigned
        // arithmetic wraps exactly as the 32-bit sum would.
        const auto value = static_cast<std::int32_t>(static_cast<signed char>(c));
        hash = hash * 33u + static_cast<std::uint32_t>(value);
    }
    return hash;
}

bool FitsCacheEntry(const std::string& directory, const std::string& name) {
    return directory.size() < kCacheNameField && name.size() < kCacheNameField &&
           directory.find('\0') == std::string::npos && name.find('\0') == std::string::npos;
}

void EncodeCacheEntry(const CacheEntry& entry, std::uint8_t* out) {
    std::memset(out, 0, kCacheEntrySize);
    std::memcpy(out, entry.directory.data(), entry.directory.size());
    std::memcpy(out + kCacheNameField, entry.name.data(), entry.name.size());
    PutUInt32(out + 520, entry.size);
    PutUInt64(out + 524, entry.creationTime);
    PutUInt64(out + 532, entry.lastWriteTime);
    PutUInt32(out + 540, entry.id);
}

bool DecodeCacheEntry(const std::uint8_t* in, CacheEntry& entry) {
    if (!GetField(in, entry.directory) || !GetField(in + kCacheNameField, entry.name))
        return false;
    entry.size = GetUInt32(in + 520);
    entry.creationTime = GetUInt64(in + 524);
    entry.lastWriteTime = GetUInt64(in + 532);
    entry.id = GetUInt32(in + 540);
    return true;
}

std::vector<std::uint8_t> WriteCacheIndex(const CacheIndex& index) {
    std::vector<std::uint8_t> bytes(kCacheIndexHeader + kCacheEntrySize * index.entries.size());
    PutUInt32(bytes.data(), kCacheIndexVersion);
    PutUInt32(bytes.data() + 4, index.nextId);
    PutUInt32(bytes.data() + 8, static_cast<std::uint32_t>(index.entries.size()));
    std::uint8_t* out = bytes.data() + kCacheIndexHeader;
    for (const CacheEntry& entry : index.entries) {
        EncodeCacheEntry(entry, out);
        out += kCacheEntrySize;
    }
    return bytes;
}

bool ReadCacheIndex(const std::uint8_t* data, std::size_t size, CacheIndex& index) {
    index = CacheIndex();
    if (size < 4)
        return false;
    if (GetUInt32(data) != kCacheIndexVersion)
        return true;
    if (size < kCacheIndexHeader)
        return false;
    const std::uint32_t count = GetUInt32(data + 8);
    if (count > (size - kCacheIndexHeader) / kCacheEntrySize)
        return false;
    CacheIndex read;
    read.nextId = GetUInt32(data + 4);
    read.entries.resize(count);
    const std::uint8_t* in = data + kCacheIndexHeader;
    for (CacheEntry& entry : read.entries) {
        if (!DecodeCacheEntry(in, entry))
            return false;
        in += kCacheEntrySize;
    }
    index = std::move(read);
    return true;
}

} // namespace sorbex
