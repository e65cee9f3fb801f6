// The cache's "Index" stream: the entries of the files whose names share one hash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sorbex {

// One cached file: where it was, what it looked like when its text was stored, and
// the name (decimal id) of the stream that holds the text.
struct CacheEntry {
    std::string directory; // with trailing separator, as the search passes it
    std::string name;
    std::uint32_t size = 0; // low 32 bits
    std::uint64_t creationTime = 0;
    std::uint64_t lastWriteTime = 0;
    std::uint32_t id = 0;
};

constexpr std::size_t kCacheEntrySize = 544;
// Directory and name each take a 260-byte field that ends in a NUL.
constexpr std::size_t kCacheNameField = 260;
constexpr std::size_t kCacheIndexHeader = 12;

struct CacheIndex {
    std::uint32_t nextId = 0;
    std::vector<CacheEntry> entries;
};

// The sub-storage name for a file name: a multiply-by-33 hash over its bytes taken
// as signed, with ASCII capitals lower-cased, in decimal.
std::uint32_t CacheNameHash(const std::string& name);

// False when directory or name do not fit their fields (259 bytes each).
bool FitsCacheEntry(const std::string& directory, const std::string& name);

// Writes the entry's 544 bytes at `out`. The caller has checked FitsCacheEntry.
void EncodeCacheEntry(const CacheEntry& entry, std::uint8_t* out);

// Reads 544 bytes; false when a name field has no terminating NUL.
bool DecodeCacheEntry(const std::uint8_t* in, CacheEntry& entry);

std::vector<std::uint8_t> WriteCacheIndex(const CacheIndex& index);

// Reads a whole "Index" stream. An index of another version reads as empty (true,
// no entries, next id 0). A stream shorter than its header, or shorter than the
// entries its count announces, or holding a damaged entry, fails and leaves `index`
// empty; the count is checked against the bytes present before anything is reserved.
bool ReadCacheIndex(const std::uint8_t* data, std::size_t size, CacheIndex& index);

} // namespace sorbex
