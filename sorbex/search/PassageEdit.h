// Replacing the accepted passages of a file in one rewrite, after checking that the file
// still holds them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
    TooLarge,    // the new content would pass the largest offset a result holds; nothing was written
};

// The largest file a result can address: offsets are stored as signed 32-bit numbers.
constexpr std::uint64_t kLargestEditableFile = 0x7FFFFFFF;

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

// Receives a file's whole content just before the file is rewritten, and keeps it where
// the rewrite can be undone from; the rewrite goes ahead only when it succeeds.
using COldContentKeeper =
    std::function<kestrix::OsError(const std::string& path, const std::string& oldBytes)>;

// Receives a file's whole new content once the rewrite is in place, so that what keeps
// the old content can tell later whether the file is still as the rewrite left it.
using CNewContentNoter =
    std::function<void(const std::string& path, const std::string& newBytes)>;

// What one rewrite of a file did with the passages accepted in it.
struct CFileEdit {
    CPassageEditStatus status = CPassageEditStatus::ReadFailed;
    std::size_t applied = 0; // passages, from the first, whose replacement is in the file now
    kestrix::OsError error;  // why the file could not be read or written
    // Characters the replacement takes in the searched text: each replaced passage moves
    // the later ones by this minus its own length.
    std::size_t replacementLength = 0;
};

// Puts `replacement` in place of each passage of `passages` (results of one file,
// dir + name, in the order of their offsets, each offset as the file stands now) and
// writes the file once: the bytes are those that replacing them one by one would give.
// The file is read as the search read it (`encoding`): the passages' offsets count in
// its decoded text, the replacement is written in the file's own encoding, and every
// byte outside the passages (a byte-order mark too) stays as it was; a file whose
// encoding cannot hold the replacement is left as it was (Unencodable), and so is one
// that would grow past kLargestEditableFile (TooLarge), before its new content is made.
// The first passage the file no longer holds ends the list (Changed): the passages
// before it are still written. The whole new content is written before it replaces the
// file, so the file is always either the old or the new one. Touches no result.
CFileEdit ReplacePassagesInFile(kestrix::FileSystem& fs,
                                const std::vector<const CSearchResult*>& passages,
                                const std::string& replacement,
                                const COldContentKeeper& keepOldContent = nullptr,
                                const CReplacementEncoding& encoding = {},
                                const CNewContentNoter& noteNewContent = nullptr);

// The same for a single passage; `delta` counts characters of the searched text.
CPassageEdit ReplacePassageInFile(kestrix::FileSystem& fs, const CSearchResult& result,
                                  const std::string& replacement,
                                  const CReplacementEncoding& encoding = {});

} // namespace sorbex
