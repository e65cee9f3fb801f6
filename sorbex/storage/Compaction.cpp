// Compacting a compound file: a fresh copy of its root, swapped in for the original.
#include "storage/Compaction.h"

#include <memory>

namespace sorbex {

namespace Mode = kestrix::StorageMode;

std::string DirectoryOf(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && !kestrix::IsPathSeparator(path[end - 1]))
        --end;
    return path.substr(0, end);
}

bool HasRoomForCopy(std::uint64_t free, std::uint64_t needed) {
    return static_cast<double>(free) >= static_cast<double>(needed) * 1.2;
}

CompactResult CompactCompoundFile(kestrix::FileSystem& fs, kestrix::CompoundFiles& files,
                                  kestrix::Storage& root, const std::string& path,
                                  const std::string& temp, const std::function<void()>& release) {
    constexpr unsigned kCopyRoot = Mode::kCreate | Mode::kReadWrite | Mode::kShareExclusive;
    std::unique_ptr<kestrix::Storage> copy;
    kestrix::OsError e = files.Create(temp, kCopyRoot, copy);
    if (!e)
        e = root.CopyTo(*copy);
    if (!e)
        e = copy->Commit();
    // The copy is closed before anything is removed or renamed.
    copy.reset();
    if (e) {
        fs.RemoveFile(temp);
        return CompactResult::kCopyFailed;
    }
    release();
    if (fs.RemoveFile(path) || fs.RenameFile(temp, path))
        return CompactResult::kReplaceFailed;
    return CompactResult::kReplaced;
}

} // namespace sorbex
