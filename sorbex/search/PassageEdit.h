// Replacing one passage of a result in its file, after checking that the file still holds it.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "search/SearchResult.h"

namespace sorbex {

enum class CPassageEditStatus {
    Replaced,
    ReadFailed,  // the file could not be read; nothing was written
    Changed,     // the bytes at the passage's offsets are no longer the passage
    WriteFailed, // the new content could not be put in place; the old file stays whole
};

struct CPassageEdit {
    CPassageEditStatus status = CPassageEditStatus::ReadFailed;
    int delta = 0; // length of the new text minus length of the passage, when replaced
};

// True when `bytes` at [result.start, result.end), cleaned as the searched text was,
// begin with the passage text the excerpt keeps (the excerpt holds at most 510 bytes
// of a longer passage).
bool FileStillHoldsPassage(const std::string& bytes, const CSearchResult& result);

// Puts `replacement` in place of the passage in the file dir + name. The whole new
// content is written before it replaces the file, so the file is always either the
// old or the new one. Does not touch `result`.
CPassageEdit ReplacePassageInFile(kestrix::FileSystem& fs, const CSearchResult& result,
                                  const std::string& replacement);

} // namespace sorbex
