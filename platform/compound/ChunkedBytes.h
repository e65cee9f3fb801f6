// A growable run of bytes kept in fixed-size chunks: a large temporary compound file
// lives in memory without needing one contiguous block, which a 32-bit process may not
// find for a store of many megabytes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace kestrix {
namespace compound {

class ChunkedBytes {
public:
    static constexpr std::size_t kChunkBytes = 64 * 1024;

    std::uint64_t size() const { return size_; }

    // Copies up to `count` bytes from `offset` into `out`; fewer (none at all) past the
    // end. Returns how many were copied.
    std::size_t ReadAt(std::uint64_t offset, void* out, std::size_t count) const;

    // Writes `count` bytes at `offset`, growing the run as needed (a gap before `offset`
    // reads as zeros). False when memory ran out: the run is then as it was.
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t count);

    // Cuts the run, or grows it with zeros. False when memory ran out (nothing changed).
    bool SetSize(std::uint64_t size);

private:
    // Makes room for `size` bytes; the new chunks hold zeros.
    bool Reserve(std::uint64_t size);

    // Calls `visit(where, done, part)` for each piece of the `count` bytes from `offset`
    // (all within the run) in turn: `where` in its chunk, `done` bytes before it.
    template <typename Visit>
    void ForEachPart(std::uint64_t offset, std::size_t count, Visit visit) const {
        std::size_t done = 0;
        while (done < count) {
            const std::uint64_t at = offset + done;
            const auto chunk = static_cast<std::size_t>(at / kChunkBytes);
            const auto within = static_cast<std::size_t>(at % kChunkBytes);
            const std::size_t part = std::min(count - done, kChunkBytes - within);
            visit(chunks_[chunk].get() + within, done, part);
            done += part;
        }
    }

    std::vector<std::unique_ptr<char[]>> chunks_;
    std::uint64_t size_ = 0;
};

} // namespace compound
} // namespace kestrix
