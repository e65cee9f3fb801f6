// Reading and writing whole compound-file streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/CompoundStorage.h"

namespace sorbex {

// Streams larger than this are refused rather than read into memory: no page or
// cached text comes near it, so a bigger size means a damaged file.
constexpr std::uint64_t kMaxStreamBytes = 512u * 1024u * 1024u;

// The whole stream from its start. Fails for a stream above kMaxStreamBytes and for
// one that delivers fewer bytes than its size.
kestrix::OsError ReadWholeStream(kestrix::StorageStream& stream, std::vector<std::uint8_t>& bytes);

// Writes `size` bytes at the stream's start and cuts the stream there.
kestrix::OsError WriteWholeStream(kestrix::StorageStream& stream, const void* data,
                                  std::size_t size);

// The byte count of an element that the caller may not hold open.
kestrix::OsError StreamSize(kestrix::Storage& storage, const std::string& name,
                            std::uint64_t& size);

} // namespace sorbex
