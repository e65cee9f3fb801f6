// The compound-storage seam: one file holding named storages and streams, opened
// directly or transacted, as the cache and the result document keep their data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/OsError.h"

namespace kestrix {

// Open and create modes. The values are the system's own STGM bits so that the
// Windows implementation passes them through unchanged; the native implementation
// honours the same combinations.
namespace StorageMode {
constexpr unsigned kRead = 0x00000000;
constexpr unsigned kWrite = 0x00000001;
constexpr unsigned kReadWrite = 0x00000002;
constexpr unsigned kShareDenyNone = 0x00000040;
constexpr unsigned kShareDenyRead = 0x00000030;
constexpr unsigned kShareDenyWrite = 0x00000020;
constexpr unsigned kShareExclusive = 0x00000010;
constexpr unsigned kTransacted = 0x00010000;
constexpr unsigned kCreate = 0x00001000;
constexpr unsigned kConvert = 0x00020000;
constexpr unsigned kDeleteOnRelease = 0x04000000;
} // namespace StorageMode

// Failure codes in OsError::code: the system's STG_E_* / HRESULT values, which the
// native implementation reports for the same situations.
namespace StorageError {
constexpr long kInvalidFunction = static_cast<long>(0x80030001); // STG_E_INVALIDFUNCTION
constexpr long kFileNotFound = static_cast<long>(0x80030002);    // STG_E_FILENOTFOUND
constexpr long kPathNotFound = static_cast<long>(0x80030003);    // STG_E_PATHNOTFOUND
constexpr long kAccessDenied = static_cast<long>(0x80030005);    // STG_E_ACCESSDENIED
constexpr long kInvalidHandle = static_cast<long>(0x80030006);   // STG_E_INVALIDHANDLE
constexpr long kInsufficientMemory = static_cast<long>(0x80030008);
constexpr long kWriteFault = static_cast<long>(0x8003001D);     // STG_E_WRITEFAULT
constexpr long kReadFault = static_cast<long>(0x8003001E);      // STG_E_READFAULT
constexpr long kShareViolation = static_cast<long>(0x80030020); // STG_E_SHAREVIOLATION
constexpr long kLockViolation = static_cast<long>(0x80030021);  // STG_E_LOCKVIOLATION
constexpr long kFileAlreadyExists = static_cast<long>(0x80030050);
constexpr long kInvalidParameter = static_cast<long>(0x80030057);
constexpr long kMediumFull = static_cast<long>(0x80030070);    // STG_E_MEDIUMFULL
constexpr long kInvalidName = static_cast<long>(0x800300FC);   // STG_E_INVALIDNAME
constexpr long kInvalidHeader = static_cast<long>(0x800300FB); // STG_E_INVALIDHEADER
constexpr long kInvalidFlag = static_cast<long>(0x800300FF);   // STG_E_INVALIDFLAG
constexpr long kReverted = static_cast<long>(0x80030102);      // STG_E_REVERTED
} // namespace StorageError

enum class SeekOrigin { Begin, Current, End };

struct StorageElement {
    std::string name;
    bool isStorage = false; // else a stream
    std::uint64_t size = 0; // bytes, for a stream
};

// One open stream. Released by destroying the object.
class StorageStream {
public:
    virtual ~StorageStream() = default;

    // Reads up to `size` bytes at the current position; `got` < `size` only at the end.
    virtual OsError Read(void* buffer, std::size_t size, std::size_t& got) = 0;
    // Writes all `size` bytes at the current position, growing the stream as needed.
    virtual OsError Write(const void* buffer, std::size_t size) = 0;
    virtual OsError Seek(std::int64_t offset, SeekOrigin origin, std::uint64_t* position) = 0;
    virtual OsError Size(std::uint64_t& size) = 0;
    virtual OsError SetSize(std::uint64_t size) = 0;
};

// One open storage: the root of a compound file or a storage inside it. Streams and
// storages opened from it must be released before it is.
class Storage {
public:
    virtual ~Storage() = default;

    virtual OsError OpenStream(const std::string& name, unsigned mode,
                               std::unique_ptr<StorageStream>& stream) = 0;
    // Creates the stream; with StorageMode::kCreate an existing one is replaced,
    // without it an existing one is an error (kFileAlreadyExists).
    virtual OsError CreateStream(const std::string& name, unsigned mode,
                                 std::unique_ptr<StorageStream>& stream) = 0;
    virtual OsError OpenStorage(const std::string& name, unsigned mode,
                                std::unique_ptr<Storage>& storage) = 0;
    virtual OsError CreateStorage(const std::string& name, unsigned mode,
                                  std::unique_ptr<Storage>& storage) = 0;
    // Removes a stream or a storage with everything in it.
    virtual OsError DestroyElement(const std::string& name) = 0;
    virtual OsError Enumerate(std::vector<StorageElement>& elements) = 0;

    // Copies every element of this storage into `target` (whole-container copy).
    virtual OsError CopyTo(Storage& target) = 0;

    // For a transacted storage: makes the changes permanent / discards them.
    // For a direct one Commit flushes and Revert does nothing.
    virtual OsError Commit() = 0;
    virtual OsError Revert() = 0;
};

// Opens and creates compound files.
class CompoundFiles {
public:
    virtual ~CompoundFiles() = default;

    // Opens an existing compound file. With kConvert a file that is not a compound
    // file is opened as an empty storage (its old content is replaced on commit).
    virtual OsError Open(const std::string& path, unsigned mode,
                         std::unique_ptr<Storage>& root) = 0;
    // Creates a compound file; an empty `path` with kDeleteOnRelease makes a
    // temporary file that disappears when the root is released.
    virtual OsError Create(const std::string& path, unsigned mode,
                           std::unique_ptr<Storage>& root) = 0;
    // True when `path` holds a compound file.
    virtual bool IsCompoundFile(const std::string& path) = 0;
};

// The implementation for this system: OLE structured storage on Windows, elsewhere
// our own tree in memory over libgsf's compound-file reader and writer.
CompoundFiles& SystemCompoundFiles();

// A direct root also writes its changes when it is released, and a release cannot
// return an error: a failure there goes to this hook, which a program sets once (a
// caller that must know commits before it releases). Without a hook nobody is told.
using ReleaseFailureHook = void (*)(const OsError& error);
ReleaseFailureHook SetReleaseFailureHook(ReleaseFailureHook hook);
void ReportReleaseFailure(const OsError& error);

} // namespace kestrix
