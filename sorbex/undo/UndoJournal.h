// The undo journal of replacement walks: one folder per walk beside the cache, holding each
// rewritten file's old content and how the walk left the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "search/ProfileSettings.h"
#include "search/ReplacePassages.h"
#include "search/SearchResultArray.h"
#include "undo/UndoRecords.h"

namespace sorbex {

// How much the journal keeps: the last `walks` walks, and at most `bytes` of old content
// over all of them. No walks: replacements keep no journal.
struct CUndoLimits {
    int walks = 5;
    std::uint64_t bytes = 0;
};

constexpr int kDefaultUndoWalks = 5;
constexpr int kDefaultUndoMegabytes = 100;
constexpr int kMaxUndoWalks = 99;

// "Options"/"UndoWalks" (0 to 99) and "Options"/"UndoMegabytes" (at least 1).
CUndoLimits ReadUndoLimits(CProfileSettings& settings);

// The journal's folder: "sbxUndo" in the first of the cache directories where it exists
// or can be made, ending in the separator; "" when there is none.
std::string DefaultUndoFolder(kestrix::FileSystem& fs);

// The bytes that the files of `page` with results still to be replaced hold now: what a
// walk over the page keeps at most.
std::uint64_t BytesToKeep(kestrix::FileSystem& fs, const CSearchResultArray& page);

// One file of a walk as the journal holds it.
struct CUndoEntry {
    std::string stem; // the walk folder's path + "F<n>": + ".rec", ".old", ".new"
    bool readable = false; // the record could be read (this version, all fields)
    CUndoKept kept;
    bool left = false;     // the rewrite was confirmed and its result recorded
    CUndoLeft leftAs;
};

struct CUndoWalk {
    std::string folder; // ends in the separator
    std::uint64_t number = 0;
    CUndoWalkRecord record;
    std::vector<CUndoEntry> entries; // in the order the walk kept them
    std::uint64_t bytes = 0;         // what the folder takes
};

// The walks in the journal, oldest first; folders that are not walks are left out.
kestrix::OsError ListUndoWalks(kestrix::FileSystem& fs, const std::string& folder,
                               std::vector<CUndoWalk>& walks);

// Removes a walk's folder with everything in it.
kestrix::OsError RemoveUndoWalk(kestrix::FileSystem& fs, const CUndoWalk& walk);

// Records one walk. Begin makes room (older walks go first, oldest first) and the walk's
// folder; KeepOldContent and NoteNewContent are the walk's two hooks. A walk that
// rewrote nothing leaves no folder behind.
class CUndoRecorder {
public:
    CUndoRecorder(kestrix::FileSystem& fs, std::string folder, CUndoLimits limits,
                  std::int64_t now);

    // Fails with the reason when no journal can be kept for this walk; `expected` is
    // what the walk may keep (BytesToKeep), for which older walks make room.
    kestrix::OsError Begin(std::uint64_t expected);
    // Keeps the file's old content; the file must not be rewritten unless this succeeds.
    kestrix::OsError KeepOldContent(const std::string& path, const std::string& oldBytes);
    // Records how the rewrite left the file. A failure here cannot undo the rewrite: the
    // entry then lacks its result and undo puts the file back only if it still holds
    // its old content (nothing to do) and names it otherwise.
    void NoteNewContent(const std::string& path, const std::string& newBytes);
    // Removes the walk's folder when it kept nothing.
    void End();

    const std::string& walkFolder() const { return walkFolder_; }
    int kept() const { return kept_; }
    int unconfirmed() const { return unconfirmed_; }

private:
    void DropPending();

    kestrix::FileSystem& fs_;
    std::string folder_;
    CUndoLimits limits_;
    std::int64_t now_;
    std::string walkFolder_;
    int kept_ = 0; // files kept and not known to have failed their rewrite
    int unconfirmed_ = 0;
    std::uint64_t entries_ = 0;
    std::string pendingStem_; // the entry whose rewrite is under way
    std::string pendingPath_;
};

// Lets the walk of `context` keep its files' old content in `recorder` before each rewrite.
void AttachUndoRecorder(CReplaceContext& context, CUndoRecorder& recorder);

// Readies the journal for a walk over `page`: returns "" with `recorder` made and begun
// (or left empty when the user keeps no journal: no walks), or the question whether to
// replace without undo when the page's files hold more than the limit or the journal
// cannot be kept.
std::string PrepareUndoJournal(kestrix::FileSystem& fs, const std::string& folder,
                               const CUndoLimits& limits, const CSearchResultArray& page,
                               std::int64_t now, std::unique_ptr<CUndoRecorder>& recorder);

} // namespace sorbex
