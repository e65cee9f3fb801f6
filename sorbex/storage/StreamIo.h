// Reading and writing whole compound-file streams.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/CompoundStorage.h"
#include "storage/ArchiveWriter.h"

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

// Writes what `store` puts into an archive at the stream's start, a piece at a time as
// the archive grows, and cuts the stream at its end: the same bytes as building the
// archive whole and writing it with WriteWholeStream, without holding it all at once.
// After the first failed write the rest is built but no longer written.
kestrix::OsError WriteArchiveStream(kestrix::StorageStream& stream,
                                    const std::function<void(CArchiveWriter&)>& store);

// The byte count of an element that the caller may not hold open.
kestrix::OsError StreamSize(kestrix::Storage& storage, const std::string& name,
                            std::uint64_t& size);

} // namespace sorbex
