// Replacing one passage of a result in its file, after checking that the file still holds it.
#pragma once

#include <string>

#include "platform/FileSystem.h"
#include "search/SearchResult.h"
#include "text/TextEncoding.h"

namespace sorbex {

enum class CPassageEditStatus {
    Replaced,
    ReadFailed,  // the file could not be read; nothing was written
    Changed,     // the bytes at the passage's offsets are no longer the passage
    WriteFailed, // the new content could not be put in place; the old file stays whole
    Unencodable, // the file's encoding cannot hold the replacement; nothing was written
};

// How the file is read as text, as the search read it, and the replacement as characters
// when it has some that the code page lacks (else its bytes are the code page's).
struct CReplacementEncoding {
    CEncodingChoice choice = CEncodingChoice::Auto;
    const std::u32string* characters = nullptr;
};

struct CPassageEdit {
    CPassageEditStatus status = CPassageEditStatus::ReadFailed;
    // Characters of the new text minus characters of the passage, when replaced: the
    // shift of the later passages in the searched text.
    int delta = 0;
};

// True when `bytes` at [result.start, result.end), cleaned as the searched text was,
// begin with the passage text the excerpt keeps (the excerpt holds at most 510 bytes
// of a longer passage).
bool FileStillHoldsPassage(const std::string& bytes, const CSearchResult& result);

// Puts `replacement` in place of the passage in the file dir + name, in the file's own
// encoding: the passage's offsets count in the file's text as the search decoded it, and
// every byte outside the passage (a byte-order mark too) stays as it was. The whole new
// content is written before it replaces the file, so the file is always either the
// old or the new one. Does not touch `result`.
CPassageEdit ReplacePassageInFile(kestrix::FileSystem& fs, const CSearchResult& result,
                                  const std::string& replacement,
                                  const CReplacementEncoding& encoding = {});

} // namespace sorbex
