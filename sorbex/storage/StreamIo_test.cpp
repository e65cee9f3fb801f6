// Writing a stream from an archive built piece by piece.
#include "storage/StreamIo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace sorbex {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A stream in memory whose writes fail once `writeLimit` bytes have gone in.
class MemoryStream : public kestrix::StorageStream {
public:
    Bytes bytes;
    std::size_t writeLimit = static_cast<std::size_t>(-1);
    int setSizeCalls = 0;

    kestrix::OsError Read(void* buffer, std::size_t size, std::size_t& got) override {
        got = std::min(size, bytes.size() - std::min(bytes.size(), position_));
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(position_), got,
                    static_cast<std::uint8_t*>(buffer));
        position_ += got;
        return {};
    }
    kestrix::OsError Write(const void* buffer, std::size_t size) override {
        if (written_ + size > writeLimit)
            return Failure("Write");
        const auto* from = static_cast<const std::uint8_t*>(buffer);
        if (bytes.size() < position_ + size)
            bytes.resize(position_ + size);
        std::copy_n(from, size, bytes.begin() + static_cast<std::ptrdiff_t>(position_));
        position_ += size;
        written_ += size;
        return {};
    }
    kestrix::OsError Seek(std::int64_t offset, kestrix::SeekOrigin origin,
                          std::uint64_t* position) override {
        if (origin != kestrix::SeekOrigin::Begin)
            return Failure("Seek");
        position_ = static_cast<std::size_t>(offset);
        if (position)
            *position = position_;
        return {};
    }
    kestrix::OsError Size(std::uint64_t& size) override {
        size = bytes.size();
        return {};
    }
    kestrix::OsError SetSize(std::uint64_t size) override {
        ++setSizeCalls;
        bytes.resize(static_cast<std::size_t>(size));
        return {};
    }

private:
    static kestrix::OsError Failure(const char* function) {
        kestrix::OsError e;
        e.function = function;
        e.code = kestrix::StorageError::kMediumFull;
        return e;
    }

    std::size_t position_ = 0;
    std::size_t written_ = 0;
};

void WriteLines(CArchiveWriter& archive, int count) {
    archive.WriteCount(static_cast<std::uint32_t>(count));
    for (int i = 0; i < count; ++i) {
        archive.WriteObjectTag("CLine", 1);
        archive.WriteString("line " + std::to_string(i) + std::string(40, '.'));
    }
}

Bytes WholeArchive(int count) {
    CArchiveWriter archive;
    WriteLines(archive, count);
    return archive.bytes();
}

TEST(StreamIoTest, AnArchiveWrittenInPiecesReplacesTheStreamWhole) {
    struct Case {
        const char* name;
        int lines;
        std::size_t before; // bytes the stream held
    };
    // 10,000 lines take several of the archive's pieces.
    const Case cases[] = {
        {"empty archive over a longer stream", 0, 1000},
        {"small archive into an empty stream", 3, 0},
        {"many pieces over a longer stream", 10000, 2000000},
        {"many pieces over a shorter stream", 10000, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryStream stream;
        stream.bytes.assign(c.before, 0xEE);
        std::uint64_t position = 0;
        ASSERT_FALSE(stream.Seek(static_cast<std::int64_t>(c.before), kestrix::SeekOrigin::Begin,
                                 &position));
        EXPECT_FALSE(WriteArchiveStream(stream, [&](CArchiveWriter& a) { WriteLines(a, c.lines); }));
        EXPECT_EQ(WholeArchive(c.lines), stream.bytes);
    }
}

TEST(StreamIoTest, AFailedWriteIsReportedAndTheStreamIsNotCutAfterIt) {
    // The failure comes in the first piece, in a later one, and at the last bytes.
    const std::size_t total = WholeArchive(10000).size();
    for (const std::size_t limit : {std::size_t{0}, std::size_t{100000}, total - 1}) {
        SCOPED_TRACE(limit);
        MemoryStream stream;
        stream.writeLimit = limit;
        bool built = false;
        const kestrix::OsError e = WriteArchiveStream(stream, [&](CArchiveWriter& a) {
            WriteLines(a, 10000);
            built = true;
        });
        EXPECT_TRUE(e);
        EXPECT_STREQ("Write", e.function.c_str());
        EXPECT_TRUE(built);
        EXPECT_EQ(0, stream.setSizeCalls);
        EXPECT_LE(stream.bytes.size(), limit);
    }
}

} // namespace
} // namespace sorbex
