// The replacement walk over a replace page's results, and its start from a chosen result.
#pragma once

#include <cstddef>
#include <string>

#include "platform/FileSystem.h"
#include "search/PassageEdit.h"
#include "search/ProfileSettings.h"
#include "search/ReplaceUi.h"
#include "search/SearchResultArray.h"

namespace sorbex {

// The flags of a search run that a walk reads and changes too. The controller's message
// pump sets quitRequested when the application is asked to quit.
struct CRunFlags {
    bool searching = false;
    bool replacing = false;
    bool cancelRequested = false;
    bool quitRequested = false;
};

// What a walk needs besides the page: the user, the profile, the files, and the run's
// flags (the controller's own, by reference).
struct CReplaceContext {
    CReplaceUi& ui;
    CProfileSettings& settings;
    kestrix::FileSystem& fs;
    CRunFlags& state;
    // Where a file's old content goes before the file is rewritten, so that the rewrite
    // can be undone; none when empty.
    COldContentKeeper keepOldContent = nullptr;
    // Told each file's new content once it is in place; none when empty.
    CNewContentNoter noteNewContent = nullptr;
    // How the files are read and the replacement written, as the search read them.
    CReplacementEncoding encoding = {};
};

// What a walk did, for front ends that report it in summary.
struct CReplaceOutcome {
    int replaced = 0;
    int refused = 0;     // came through a converter
    int declined = 0;    // answered No
    int changed = 0;     // the file no longer held the passage
    int readFailed = 0;  // the file could not be read when it was to be written
    int writeFailed = 0; // the file stayed as it was (or would have grown too large)
    int unencodable = 0; // the file's encoding cannot hold the replacement
    bool cancelled = false;
};

// Walks the results from `startIndex` to the end and on from the first, asking for each
// passage not yet replaced unless the user chose to replace all. The passages accepted
// in one file are written in one rewrite once the walk leaves that file; a cancel stops
// the questions at once, and what was accepted before it is written. `page` may be null.
CReplaceOutcome ReplacePassages(CSearchResultArray* page, std::size_t startIndex,
                                const std::string& replacement, CReplaceContext& context);

// The walk started from a result of a replace page; ignored (returns false) while a
// search or a replacement runs or when there is no page.
bool StartReplacementAt(CSearchResultArray* page, std::size_t startIndex,
                        const std::string& replacement, CReplaceContext& context,
                        CReplaceOutcome* outcome = nullptr);

} // namespace sorbex
