// The file-system seam on Windows, through the wide-character API.
#pragma once

#include <functional>
#include <string>
#include <utility>

#include "platform/FileSystem.h"

namespace kestrix {

// The ordinary form of a name the system gives for an open file (\\?\C:\dir\file,
// \\?\UNC\server\share\file): without the prefix that only wide calls accept.
std::wstring DosPathFromFinalName(const std::wstring& finalName);

class Win32FileSystem : public FileSystem {
public:
    OsError ListDirectory(const std::string& dir, EntryDetail detail,
                          const std::function<bool(const DirEntry&)>& visit) override;
    OsError FullPath(const std::string& path, std::string& full) override;
    std::string RootOf(const std::string& path) override;
    DriveType DriveTypeOf(const std::string& root) override;
    OsError CheckDirectory(const std::string& path) override;
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

    // Called with the path between the look at a file's size and its read: tests change
    // the file there.
    void WhenSizeLooked(std::function<void(const std::string&)> call) {
        testing_.sizeLooked = std::move(call);
    }

private:
    struct Testing {
        std::function<void(const std::string&)> sizeLooked;
    };
    Testing testing_;
};

} // namespace kestrix
