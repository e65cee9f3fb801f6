// Fuzz target: the compound-file reader. A file read once writes out as one that reads
// again and writes out to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/posix/CfbCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    kestrix::compound::Node root;
    root.isStorage = true;
    if (kestrix::cfb::Read(bytes, "fuzz", root))
        return 0;
    std::vector<unsigned char> written;
    if (kestrix::cfb::Write(root, "fuzz", written))
        return 0; // a tree the format cannot hold again (names too long, say)
    kestrix::compound::Node again;
    again.isStorage = true;
    if (kestrix::cfb::Read(written, "fuzz", again))
        std::abort();
    std::vector<unsigned char> rewritten;
    if (kestrix::cfb::Write(again, "fuzz", rewritten) || rewritten != written)
        std::abort();
    return 0;
}
