// A file system for tests that passes calls to a real one and fails those it is told to.
#pragma once

#include <map>
#include <string>

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
    // Drive types by root, in place of the real ones.
    std::map<std::string, DriveType> driveTypes;
    int readCalls = 0;
    int fullPathCalls = 0;

    OsError ListDirectory(const std::string& dir,
                          const std::function<bool(const DirEntry&)>& visit) override;
    OsError FullPath(const std::string& path, std::string& full) override;
    std::string RootOf(const std::string& path) override { return real_.RootOf(path); }
    DriveType DriveTypeOf(const std::string& root) override;
    OsError CheckDirectory(const std::string& path) override;
    OsError ReadFile(const std::string& path, std::string& bytes) override;
    OsError ReplaceFileContent(const std::string& path, const std::string& bytes) override;
    int CompareNames(const std::string& a, const std::string& b) override {
        return real_.CompareNames(a, b);
    }

private:
    FileSystem& real_;
};

} // namespace kestrix
