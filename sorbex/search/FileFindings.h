// What the search of one file found, made into results before the run records them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Passage.h"
#include "search/FileEntry.h"
#include "search/SearchResult.h"
#include "text/FileTextLoader.h"

namespace sorbex {

struct CFileFindings {
    // The run's own thread loads this file: it reaches the converters and their cache,
    // or the thread that was to search it could not.
    bool onRunThread = false;
    CTextLoadResult loaded;
    std::vector<std::unique_ptr<CSearchResult>> results;
    int passages = 0; // what the counters add: a file-level match counts as one
    // `results`' file with its size and time, looked up when the walk left them out.
    bool statusLooked = false;
    CFileEntry status;
};

// Adds the results of `list` (evaluated on `text` of `file`) to `findings` as the
// result page keeps them: one per passage, the first marked, or one for the file when
// the expression matched the file as a whole (never in replace mode, where such a
// match leaves nothing to replace). `outside`, when given, holds the text's characters
// outside the code page (as the loader reported them); each result keeps its excerpt's
// share of them.
void AddFileResults(CPassageList& list, const std::string& text, int subexpression,
                    int originFlags, bool replaceMode, const CFileEntry& file,
                    CFileFindings& findings,
                    const std::vector<COutsideCharacter>* outside = nullptr);

// Gives `findings` the entry of `file` with the size and time of `status`; without a
// status (the file is gone since it was read) they stay 0, as a listing shows them.
void KeepFileStatus(CFileFindings& findings, const CFileEntry& file,
                    const kestrix::FileStatus* status);

} // namespace sorbex
