// The file-system seam on POSIX systems.
#pragma once

#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/FileSystem.h"
#include "platform/posix/PosixFiles.h"

namespace kestrix {

// How tests steer a read.
struct PosixReadTesting {
    bool chunkAlways = false;
    std::function<void(const std::string&)> sizeLooked;
};

// POSIX has no drive letters, short names or share modes: every root is "/" on a
// fixed drive, and a file is never locked against reading.
class PosixFileSystem : public FileSystem {
public:
    PosixFileSystem() = default;
    ~PosixFileSystem() override = default;
    PosixFileSystem(const PosixFileSystem&) = delete;
    PosixFileSystem& operator=(const PosixFileSystem&) = delete;

    OsError ListDirectory(const std::string& dir, EntryDetail detail,
                          const std::function<bool(const DirEntry&)>& visit) override;
    OsError FullPath(const std::string& path, std::string& full) override;
    std::string RootOf(const std::string& path) override;
    DriveType DriveTypeOf(const std::string& root) override;
    OsError CheckDirectory(const std::string& path) override;
    void ReserveReadBuffer(std::string& bytes, std::size_t capacity) override;
    OsError ReadFile(const std::string& path, std::string& bytes) override;
    OsError ReadFileWithin(const std::string& path, std::string& bytes,
                           ReadWithin& within) override;
    OsError ReplaceFileContent(const std::string& path, const std::string& bytes) override;
    OsError GetFileStatus(const std::string& path, FileStatus& status) override;
    OsError GetFileIdentity(const std::string& path, FileIdentity& identity) override;
    OsError FreeSpace(const std::string& path, std::uint64_t& bytes) override;
    OsError RemoveFile(const std::string& path) override;
    OsError RenameFile(const std::string& from, const std::string& to) override;
    OsError WriteWholeFile(const std::string& path, const std::string& bytes,
                           bool& created) override;
    OsError MakeDirectory(const std::string& path) override;
    OsError RemoveEmptyDirectory(const std::string& path) override;
    OsError OpenExclusively(const std::string& path) override;
    std::string ProgramDirectory() override;
    std::vector<std::string> CacheDirectories() override;
    int CompareNames(const std::string& a, const std::string& b) override;

    // Every read goes through the aligned chunk that fills a buffer off its boundary,
    // whatever the allocator hands out: for tests of that path.
    void ReadThroughChunkAlways() { testing_.chunkAlways = true; }
    // Called with the path between the look at a file's size and its read: tests change
    // the file there.
    void WhenSizeLooked(std::function<void(const std::string&)> call) {
        testing_.sizeLooked = std::move(call);
    }

private:
    OsError ReadInFolder(const std::string& path, std::string& bytes, ReadWithin* within);
    OsError ReadWithoutFolder(const std::string& path, std::string& bytes, ReadWithin* within);
    void ForgetReadDirectory();

    // The folder of the last file read, held open for the files that follow it. Shared,
    // so that reads on other threads go on with it while one of them moves it on.
    std::mutex readDirMutex_;
    std::string readDir_;
    std::shared_ptr<const posix::FileDescriptor> readDirFd_;
    PosixReadTesting testing_;
};

} // namespace kestrix
