// Putting back the files of the last replacement walk from the undo journal.
#include "undo/UndoRestore.h"

#include "undo/ContentHash.h"

namespace sorbex {
namespace {

kestrix::OsError Damaged(const std::string& path) {
    return kestrix::MakeOsError("ReadFile", path,
                                kestrix::NativeCodeFor(kestrix::FileFailure::Other));
}

} // namespace

CUndoFileState CheckUndoEntry(kestrix::FileSystem& fs, const CUndoEntry& entry,
                              kestrix::OsError& error) {
    error = {};
    if (!entry.readable) {
        error = Damaged(entry.stem + ".rec");
        return CUndoFileState::Unreadable;
    }
    std::string bytes;
    if ((error = fs.ReadFile(entry.kept.path, bytes))) {
        // A file deleted or moved away since is the user's doing, like an edit.
        if (kestrix::ClassifyFailure(error) == kestrix::FileFailure::NotFound) {
            error = {};
            return CUndoFileState::Changed;
        }
        return CUndoFileState::Unreadable;
    }
    const std::uint64_t hash = ContentHash(bytes);
    if (bytes.size() == entry.kept.oldSize && hash == entry.kept.oldHash)
        return CUndoFileState::AlreadyBack;
    // Only the content decides: a file saved again unchanged loses nothing when it is
    // put back, while one whose time alone matches may hold someone's edit.
    if (entry.left && bytes.size() == entry.leftAs.size && hash == entry.leftAs.hash)
        return CUndoFileState::Restorable;
    return CUndoFileState::Changed;
}

kestrix::OsError UndoLastWalk(kestrix::FileSystem& fs, const std::string& folder,
                              bool listOnly, CUndoReport& report) {
    report = CUndoReport();
    std::vector<CUndoWalk> walks;
    if (folder.empty())
        return {};
    if (kestrix::OsError error = ListUndoWalks(fs, folder, walks)) {
        // No journal folder yet: nothing to undo.
        return kestrix::ClassifyFailure(error) == kestrix::FileFailure::NotFound
                   ? kestrix::OsError()
                   : error;
    }
    if (walks.empty())
        return {};
    report.walkFound = true;
    report.walk = walks.back();
    for (const CUndoEntry& entry : report.walk.entries) {
        kestrix::OsError error;
        switch (CheckUndoEntry(fs, entry, error)) {
        case CUndoFileState::AlreadyBack:
            report.alreadyBack.push_back(entry.kept.path);
            break;
        case CUndoFileState::Changed:
            report.changed.push_back(entry.kept.path);
            break;
        case CUndoFileState::Unreadable:
            report.failed.emplace_back(entry.readable ? entry.kept.path : entry.stem, error);
            break;
        case CUndoFileState::Restorable: {
            std::string old;
            if ((error = fs.ReadFile(entry.stem + ".old", old))) {
                report.failed.emplace_back(entry.kept.path, error);
                break;
            }
            // The journal's copy must be what was kept; a damaged one would put a wrong
            // file in place of a good one.
            if (old.size() != entry.kept.oldSize || ContentHash(old) != entry.kept.oldHash) {
                report.failed.emplace_back(entry.kept.path, Damaged(entry.stem + ".old"));
                break;
            }
            if (!listOnly && (error = fs.ReplaceFileContent(entry.kept.path, old))) {
                report.failed.emplace_back(entry.kept.path, error);
                break;
            }
            report.restored.push_back(entry.kept.path);
            break;
        }
        }
    }
    if (!listOnly && report.failed.empty() && report.changed.empty()) {
        // Every file holds its old content: what the walk kept is of no more use. A
        // removal that fails leaves a walk whose files are all back, harmless to rerun.
        report.journalRemoved = !RemoveUndoWalk(fs, report.walk);
    }
    return {};
}

bool HasUndoableWalk(kestrix::FileSystem& fs, const std::string& folder) {
    std::vector<CUndoWalk> walks;
    return !folder.empty() && !ListUndoWalks(fs, folder, walks) && !walks.empty();
}

} // namespace sorbex
