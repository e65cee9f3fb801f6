// Putting back the files of the last replacement walk from the undo journal.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "undo/UndoJournal.h"

namespace sorbex {

enum class CUndoFileState {
    Restorable,  // holds exactly what the walk wrote
    AlreadyBack, // holds its old content already (an earlier undo got this far)
    Changed,     // changed or gone since the walk: left alone
    Unreadable,  // the file or its journal entry cannot be read now: try again later
};

// What `entry`'s file is now, with the reason when it is Unreadable.
CUndoFileState CheckUndoEntry(kestrix::FileSystem& fs, const CUndoEntry& entry,
                              kestrix::OsError& error);

struct CUndoReport {
    bool walkFound = false;
    CUndoWalk walk;                       // the walk undone (entries included)
    std::vector<std::string> restored;    // put back now (or, when listing, to be)
    std::vector<std::string> alreadyBack; // held their old content already
    std::vector<std::string> changed;     // changed since the walk, left alone
    std::vector<std::pair<std::string, kestrix::OsError>> failed; // to be tried again
    bool journalRemoved = false; // every file is back: the walk left the journal
};

// Puts back every file of the newest walk in `folder` that is still as the walk left it,
// each in one step that keeps the file's attributes; with `listOnly` nothing is changed
// and `restored` names what would be put back. The walk leaves the journal once all its
// files hold their old content; otherwise it stays, and running this again finishes
// what failed and names again the files changed since.
kestrix::OsError UndoLastWalk(kestrix::FileSystem& fs, const std::string& folder,
                              bool listOnly, CUndoReport& report);

// Whether the journal holds a walk to undo.
bool HasUndoableWalk(kestrix::FileSystem& fs, const std::string& folder);

} // namespace sorbex
