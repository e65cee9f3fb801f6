// A file system for tests that passes calls to a real one and fails those it is told to.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace kestrix {

// Failures are keyed by the exact path the caller passes and carry the native code
// that the system itself would give for that kind of failure.
class FaultyFileSystem : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& real) : real_(real) {}

    std::map<std::string, FileFailure> failList;
    std::map<std::string, FileFailure> failCheck;
    std::map<std::string, FileFailure> failRead;
    std::map<std::string, FileFailure> failReplace;
    // FullPath of the path fails this many more times, then works.
    std::map<std::string, int> failFullPathTimes;
    std::map<std::string, FileFailure> failStatus;
    std::map<std::string, FileFailure> failRemove;
    // Keyed by the source path.
    std::map<std::string, FileFailure> failRename;
    // WriteWholeFile: the file cannot be created, or it is created and writing it fails
    // (it is then gone, as the real call leaves it).
    std::map<std::string, FileFailure> failCreate;
    std::map<std::string, FileFailure> failWrite;
    std::map<std::string, FileFailure> failMakeDir;
    std::map<std::string, FileFailure> failRemoveDir;
    // A file another program holds open without sharing.
    std::map<std::string, FileFailure> failExclusive;
    // Lists links as the things they lead to, as Wine shows a Unix link to a folder.
    bool linksAsFolders = false;
    // Gives each listed folder its index, as the Windows listing does.
    bool listIndexes = false;
    // With listIndexes, the index listed for the folder at a path, in place of its own.
    std::map<std::string, std::uint64_t> listedIndexes;
    // Drive types by root, in place of the real ones.
    std::map<std::string, DriveType> driveTypes;
    // When set, every volume has this many bytes free (a nearly full disk).
    bool limitFreeSpace = false;
    std::uint64_t freeSpace = 0;
    // In place of the real ones, when not empty.
    std::vector<std::string> cacheDirectories;
    int readCalls = 0;
    int replaceCalls = 0;
    int fullPathCalls = 0;
    int identityCalls = 0;

    OsError ListDirectory(const std::string& dir, EntryDetail detail,
                          const std::function<bool(const DirEntry&)>& visit) override;
    OsError FullPath(const std::string& path, std::string& full) override;
    std::string RootOf(const std::string& path) override { return real_.RootOf(path); }
    DriveType DriveTypeOf(const std::string& root) override;
    OsError CheckDirectory(const std::string& path) override;
    void ReserveReadBuffer(std::string& bytes, std::size_t capacity) override {
        real_.ReserveReadBuffer(bytes, capacity);
    }
    OsError ReadFile(const std::string& path, std::string& bytes) override;
    OsError ReplaceFileContent(const std::string& path, const std::string& bytes) override;
    OsError GetFileStatus(const std::string& path, FileStatus& status) override;
    OsError GetFileIdentity(const std::string& path, FileIdentity& identity) override {
        ++identityCalls;
        return real_.GetFileIdentity(path, identity);
    }
    OsError FreeSpace(const std::string& path, std::uint64_t& bytes) override;
    OsError RemoveFile(const std::string& path) override;
    OsError RenameFile(const std::string& from, const std::string& to) override;
    OsError WriteWholeFile(const std::string& path, const std::string& bytes,
                           bool& created) override;
    OsError MakeDirectory(const std::string& path) override;
    OsError RemoveEmptyDirectory(const std::string& path) override;
    OsError OpenExclusively(const std::string& path) override;
    std::string ProgramDirectory() override { return real_.ProgramDirectory(); }
    std::vector<std::string> CacheDirectories() override;
    int CompareNames(const std::string& a, const std::string& b) override {
        return real_.CompareNames(a, b);
    }

private:
    FileSystem& real_;
};

} // namespace kestrix
