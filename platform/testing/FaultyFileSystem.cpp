// A file system for tests that passes calls to a real one and fails those it is told to.
#include "platform/testing/FaultyFileSystem.h"

namespace kestrix {
namespace {

// Returns the planned failure for `path`, or no error when none is planned.
OsError Planned(const std::map<std::string, FileFailure>& plan, const char* function,
                const std::string& path) {
    OsError e;
    const auto it = plan.find(path);
    if (it != plan.end()) {
        e.function = function;
        e.path = path;
        e.code = NativeCodeFor(it->second);
    }
    return e;
}

} // namespace

OsError FaultyFileSystem::ListDirectory(const std::string& dir, EntryDetail detail,
                                        const std::function<bool(const DirEntry&)>& visit) {
    if (OsError e = Planned(failList, "ListDirectory", dir))
        return e;
    if (!linksAsFolders && !listIndexes)
        return real_.ListDirectory(dir, detail, visit);
    return real_.ListDirectory(dir, detail, [&](const DirEntry& entry) {
        DirEntry shown = entry;
        if (linksAsFolders)
            shown.isLink = false;
        FileIdentity identity;
        if (listIndexes && entry.isDirectory) {
            const std::string separator(1, kPathSeparator);
            const std::string path =
                dir + (dir.empty() || IsPathSeparator(dir.back()) ? "" : separator) + entry.name;
            const auto given = listedIndexes.find(path);
            if (given != listedIndexes.end()) {
                shown.index = given->second;
                shown.indexKnown = true;
            } else if (!entry.indexKnown && !real_.GetFileIdentity(path, identity)) {
                shown.index = identity.index;
                shown.indexKnown = true;
            }
        }
        return visit(shown);
    });
}

OsError FaultyFileSystem::FullPath(const std::string& path, std::string& full) {
    ++fullPathCalls;
    auto it = failFullPathTimes.find(path);
    if (it != failFullPathTimes.end() && it->second > 0) {
        --it->second;
        OsError e;
        e.function = "FullPath";
        e.path = path;
        e.code = NativeCodeFor(FileFailure::NotFound);
        return e;
    }
    return real_.FullPath(path, full);
}

DriveType FaultyFileSystem::DriveTypeOf(const std::string& root) {
    const auto it = driveTypes.find(root);
    return it != driveTypes.end() ? it->second : real_.DriveTypeOf(root);
}

OsError FaultyFileSystem::CheckDirectory(const std::string& path) {
    if (OsError e = Planned(failCheck, "CheckDirectory", path))
        return e;
    return real_.CheckDirectory(path);
}

OsError FaultyFileSystem::ReadFile(const std::string& path, std::string& bytes) {
    ++readCalls;
    if (OsError e = Planned(failRead, "ReadFile", path))
        return e;
    return real_.ReadFile(path, bytes);
}

OsError FaultyFileSystem::ReplaceFileContent(const std::string& path, const std::string& bytes) {
    ++replaceCalls;
    if (OsError e = Planned(failReplace, "ReplaceFileContent", path))
        return e;
    return real_.ReplaceFileContent(path, bytes);
}

OsError FaultyFileSystem::GetFileStatus(const std::string& path, FileStatus& status) {
    if (OsError e = Planned(failStatus, "GetFileStatus", path))
        return e;
    return real_.GetFileStatus(path, status);
}

OsError FaultyFileSystem::FreeSpace(const std::string& path, std::uint64_t& bytes) {
    if (limitFreeSpace) {
        bytes = freeSpace;
        return {};
    }
    return real_.FreeSpace(path, bytes);
}

OsError FaultyFileSystem::RemoveFile(const std::string& path) {
    if (OsError e = Planned(failRemove, "RemoveFile", path))
        return e;
    return real_.RemoveFile(path);
}

OsError FaultyFileSystem::RenameFile(const std::string& from, const std::string& to) {
    if (OsError e = Planned(failRename, "RenameFile", from))
        return e;
    return real_.RenameFile(from, to);
}

OsError FaultyFileSystem::WriteWholeFile(const std::string& path, const std::string& bytes,
                                         bool& created) {
    created = false;
    if (OsError e = Planned(failCreate, "WriteWholeFile", path))
        return e;
    if (OsError e = Planned(failWrite, "WriteWholeFile", path)) {
        created = true;
        return e;
    }
    return real_.WriteWholeFile(path, bytes, created);
}

OsError FaultyFileSystem::MakeDirectory(const std::string& path) {
    if (OsError e = Planned(failMakeDir, "MakeDirectory", path))
        return e;
    return real_.MakeDirectory(path);
}

OsError FaultyFileSystem::RemoveEmptyDirectory(const std::string& path) {
    if (OsError e = Planned(failRemoveDir, "RemoveEmptyDirectory", path))
        return e;
    return real_.RemoveEmptyDirectory(path);
}

OsError FaultyFileSystem::OpenExclusively(const std::string& path) {
    if (OsError e = Planned(failExclusive, "OpenExclusively", path))
        return e;
    return real_.OpenExclusively(path);
}

std::vector<std::string> FaultyFileSystem::CacheDirectories() {
    return cacheDirectories.empty() ? real_.CacheDirectories() : cacheDirectories;
}

} // namespace kestrix
