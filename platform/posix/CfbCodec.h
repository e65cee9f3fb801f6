// Reading and writing the compound-file format (the on-disk layout of structured
// storage) between bytes in memory and an in-memory tree.
#pragma once

#include "platform/OsError.h"
#include "platform/compound/MemoryCompoundTree.h"

#include <cstddef>
#include <vector>

namespace kestrix {
namespace cfb {

// True when `bytes` start with a compound-file header that names a sector layout
// the format allows.
bool LooksLikeCompoundFile(const unsigned char* bytes, std::size_t size);

// Fills `root` with the tree stored in `bytes`. A file that is not a compound file,
// or a broken one, fails with kInvalidHeader; a stream that cannot be read with
// kReadFault. `path` is only used in the error.
OsError Read(const std::vector<unsigned char>& bytes, const std::string& path,
             compound::Node& root);

// The compound file holding `root`.
OsError Write(const compound::Node& root, const std::string& path,
              std::vector<unsigned char>& bytes);

} // namespace cfb
} // namespace kestrix
