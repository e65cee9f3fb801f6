// Reading and writing whole compound-file streams.
#include "storage/StreamIo.h"

#include <memory>
#include <new>

namespace sorbex {
namespace {

kestrix::OsError Failure(const char* function, long code) {
    kestrix::OsError e;
    e.function = function;
    e.code = code;
    return e;
}

} // namespace

kestrix::OsError ReadWholeStream(kestrix::StorageStream& stream, std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    std::uint64_t size = 0;
    if (kestrix::OsError e = stream.Size(size))
        return e;
    if (size > kMaxStreamBytes)
        return Failure("ReadWholeStream", kestrix::StorageError::kInsufficientMemory);
    if (kestrix::OsError e = stream.Seek(0, kestrix::SeekOrigin::Begin, nullptr))
        return e;
    try {
        bytes.resize(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return Failure("ReadWholeStream", kestrix::StorageError::kInsufficientMemory);
    }
    std::size_t got = 0;
    if (kestrix::OsError e = stream.Read(bytes.data(), bytes.size(), got)) {
        bytes.clear();
        return e;
    }
    if (got != bytes.size()) {
        bytes.clear();
        return Failure("ReadWholeStream", kestrix::StorageError::kReadFault);
    }
    return {};
}

kestrix::OsError WriteWholeStream(kestrix::StorageStream& stream, const void* data,
                                  std::size_t size) {
    if (kestrix::OsError e = stream.Seek(0, kestrix::SeekOrigin::Begin, nullptr))
        return e;
    if (size > 0)
        if (kestrix::OsError e = stream.Write(data, size))
            return e;
    return stream.SetSize(size);
}

kestrix::OsError WriteArchiveStream(kestrix::StorageStream& stream,
                                    const std::function<void(CArchiveWriter&)>& store) {
    kestrix::OsError failure = stream.Seek(0, kestrix::SeekOrigin::Begin, nullptr);
    CArchiveWriter archive([&](const std::uint8_t* data, std::size_t size) {
        if (!failure)
            failure = stream.Write(data, size);
    });
    store(archive);
    archive.Flush();
    if (failure)
        return failure;
    return stream.SetSize(archive.written());
}

kestrix::OsError StreamSize(kestrix::Storage& storage, const std::string& name,
                            std::uint64_t& size) {
    size = 0;
    std::unique_ptr<kestrix::StorageStream> stream;
    if (kestrix::OsError e = storage.OpenStream(
            name, kestrix::StorageMode::kRead | kestrix::StorageMode::kShareExclusive, stream))
        return e;
    return stream->Size(size);
}

} // namespace sorbex
