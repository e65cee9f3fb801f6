// The file-system seam: what portable code may ask of directories and files.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/OsError.h"

namespace kestrix {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// True for the characters the system accepts between path components.
inline bool IsPathSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

enum class DriveType { Unknown, Fixed, Removable, CdRom, Remote };

// Why a file operation failed, for callers that treat a locked file differently
// from a missing one.
enum class FileFailure { None, NotFound, Locked, AccessDenied, NoSpace, Other };

FileFailure ClassifyFailure(const OsError& error);

// A native error code that ClassifyFailure reports as `failure`, so that fakes fail
// exactly as the system would.
long NativeCodeFor(FileFailure failure);

struct DirEntry {
    std::string name;             // in the program's 8-bit code page
    bool isDirectory = false;     // for a link: whether its target is a directory
    bool isLink = false;          // symbolic link, junction or other reparse point
    bool isShortName = false;     // the name is its own 8.3 short name (never on POSIX)
    std::uint64_t size = 0;       // bytes; 0 for directories
    std::int64_t modified = 0;    // seconds since 1970-01-01 UTC
    std::uint32_t attributes = 0; // FILE_ATTRIBUTE_* on Windows, st_mode on POSIX
    // False when a listing asked for types only left size, modified and attributes
    // unfilled (0) to spare a call per entry.
    bool statusKnown = true;
    // The entry's index on its volume, the one `GetFileIdentity` tells, where the listing
    // delivers it with the name at no extra cost (Windows); elsewhere unknown. A walk that
    // enters no link stays on one volume, so a folder's identity is then its parent's
    // volume with this index, without opening the folder.
    std::uint64_t index = 0;
    bool indexKnown = false;
};

// What a listing must tell about each entry. Names and types come with the directory
// itself everywhere; size and time cost a call per entry on POSIX systems.
enum class EntryDetail { TypesOnly, SizeAndTime };

// Size and times of one file. Times count 100-nanosecond ticks since 1601-01-01 UTC,
// as the system's FILETIME does, so that stored values compare on every host.
struct FileStatus {
    std::uint64_t size = 0;
    std::uint64_t creationTime = 0;
    std::uint64_t lastWriteTime = 0;
    bool isDirectory = false;
    std::uint32_t attributes = 0; // FILE_ATTRIBUTE_* on Windows, st_mode on POSIX
};

// Where a file or directory lives, as the system tells it (device and inode number,
// volume serial and file index): two paths of equal identity reach the same place,
// whatever links lie on the way.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity& other) const {
        return volume == other.volume && index == other.index;
    }
};

// FILETIME ticks to seconds since 1970, the unit of `DirEntry::modified`.
inline std::int64_t SecondsSince1970(std::uint64_t ticks) {
    constexpr std::int64_t kEpochDifference = 11644473600LL; // 1601 to 1970 in seconds
    return static_cast<std::int64_t>(ticks / 10000000ULL) - kEpochDifference;
}

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Calls `visit` for every entry of `dir` except "." and "..", in the order the
    // system delivers them, until `visit` returns false. An error only when the
    // directory cannot be read at all. With `TypesOnly` an entry may come without its
    // size and time (`statusKnown` false); `GetFileStatus` has them.
    virtual OsError ListDirectory(const std::string& dir, EntryDetail detail,
                                  const std::function<bool(const DirEntry&)>& visit) = 0;

    // The absolute form of `path`, resolved against the current directory; a
    // trailing separator is kept.
    virtual OsError FullPath(const std::string& path, std::string& full) = 0;

    // The root of the volume that holds `path` ("A:\", "\\server\share\", "/").
    virtual std::string RootOf(const std::string& path) = 0;
    virtual DriveType DriveTypeOf(const std::string& root) = 0;

    // Succeeds when `path` is a directory that could be made the current one.
    virtual OsError CheckDirectory(const std::string& path) = 0;

    // Gives `bytes` room for files of up to `capacity` bytes, to be kept for the reads
    // of many files; a system may back a large buffer with large pages.
    virtual void ReserveReadBuffer(std::string& bytes, std::size_t capacity) {
        bytes.reserve(capacity);
    }

    // The whole file, opened read-only while others may read and write it.
    virtual OsError ReadFile(const std::string& path, std::string& bytes) = 0;

    // What ReadFileWithin learns of a file besides its bytes.
    struct ReadWithin {
        std::uint64_t limit = UINT64_MAX; // a longer file is not read
        bool tooLarge = false;            // it was longer: nothing read, no error
        bool statusKnown = false;         // `status` holds the file's size and times
        FileStatus status;
    };
    // ReadFile for a file of at most `within.limit` bytes, with its size and times: a
    // system that learns them from the open file answers both with one look. This one
    // asks GetFileStatus first.
    virtual OsError ReadFileWithin(const std::string& path, std::string& bytes,
                                   ReadWithin& within) {
        within.tooLarge = false;
        within.statusKnown = !GetFileStatus(path, within.status);
        if (within.statusKnown && !within.status.isDirectory &&
            within.status.size > within.limit) {
            within.tooLarge = true;
            bytes.clear();
            return {};
        }
        return ReadFile(path, bytes);
    }

    // Writes `bytes` into a new file beside `path` and only then puts it in the place
    // of `path` in one step, keeping the original's attributes; on failure `path` is
    // left as it was and the new file is removed.
    virtual OsError ReplaceFileContent(const std::string& path, const std::string& bytes) = 0;

    // Size and times of a file or directory. Where the system keeps no creation time
    // (POSIX without a birth time), the inode change time stands in for it: it changes
    // whenever the content does, so a comparison never mistakes a changed file for
    // an unchanged one.
    virtual OsError GetFileStatus(const std::string& path, FileStatus& status) = 0;

    // The identity of the file or directory at `path`, links followed.
    virtual OsError GetFileIdentity(const std::string& path, FileIdentity& identity) = 0;

    // Bytes free for the caller on the volume that holds `path`.
    virtual OsError FreeSpace(const std::string& path, std::uint64_t& bytes) = 0;

    // Removes a file (not a directory).
    virtual OsError RemoveFile(const std::string& path) = 0;

    // Moves `from` to `to` within one volume; an existing `to` is an error.
    virtual OsError RenameFile(const std::string& from, const std::string& to) = 0;

    // Creates `path`, or empties it when it exists, lets nobody else in while it is
    // written, and writes `bytes`. `created` tells whether the file was created before
    // the failure; a file whose writing failed is removed again.
    virtual OsError WriteWholeFile(const std::string& path, const std::string& bytes,
                                   bool& created) = 0;

    // Creates one directory; its parent must exist.
    virtual OsError MakeDirectory(const std::string& path) = 0;

    // Removes an empty directory.
    virtual OsError RemoveEmptyDirectory(const std::string& path) = 0;

    // Opens the file for reading with nobody else allowed in, and closes it again:
    // fails (Locked) while another program holds it open without sharing.
    virtual OsError OpenExclusively(const std::string& path) = 0;

    // The directory of the running program, ending in the separator.
    virtual std::string ProgramDirectory() = 0;

    // Where the program keeps files that may be rebuilt at any time, best place first,
    // each ending in the separator: on Windows the program's directory and then the
    // Windows directory; elsewhere $XDG_CACHE_HOME/sorbex (or ~/.cache/sorbex), made
    // when missing.
    virtual std::vector<std::string> CacheDirectories() = 0;

    // Orders names the way the system's locale does, ignoring case: <0, 0, >0.
    virtual int CompareNames(const std::string& a, const std::string& b) = 0;
};

// The implementation for the system the program runs on.
std::unique_ptr<FileSystem> MakeSystemFileSystem();

} // namespace kestrix
