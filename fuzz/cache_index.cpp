// Fuzz target: the cache's "Index" stream reader and the packed-block reader.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "storage/CacheIndex.h"
#include "storage/PackedBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    sorbex::CacheIndex index;
    if (sorbex::ReadCacheIndex(data, size, index)) {
        // What was read writes back to bytes that read the same.
        const std::vector<std::uint8_t> again = sorbex::WriteCacheIndex(index);
        sorbex::CacheIndex back;
        if (!sorbex::ReadCacheIndex(again.data(), again.size(), back) ||
            back.entries.size() != index.entries.size() || back.nextId != index.nextId)
            std::abort();
    }
    std::string text;
    const bool compressed =
        size >= 4 && data[0] == 1 && data[1] == 0 && data[2] == 0 && data[3] == 0;
    if (sorbex::UnpackBlock(data, size, text) && compressed && text.empty())
        std::abort(); // a compressed block never unpacks to nothing
    return 0;
}
