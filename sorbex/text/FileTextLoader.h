// Loading the text of one file for the search run.
#pragma once

#include <string>
#include <vector>

#include "platform/FileSystem.h"
#include "text/TextSink.h"
#include "text/TextSource.h"

namespace sorbex {

enum class CTextLoadOutcome {
    Handed,    // the sink received the text
    Skipped,   // the file could not be read; no results and no message
    Cancelled, // the run was cancelled before the file was read
};

struct CTextLoadResult {
    CTextLoadOutcome outcome = CTextLoadOutcome::Skipped;
    kestrix::OsError error; // why a file was skipped, for callers that log it
};

class CFileTextLoader {
public:
    explicit CFileTextLoader(kestrix::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // Sources are asked in the order added, before the raw bytes are read; the cache
    // goes first, then the converters and the internal readers. Not owned.
    void AddSource(CTextSource* source) { sources_.push_back(source); }

    // Reads `dir` + `name` (`dir` ends in a separator), cleans it and hands it with its
    // origin flags to `searcher`. A file that cannot be read is skipped silently.
    CTextLoadResult LoadFileText(const std::string& dir, const std::string& name,
                                 const CTextLoadOptions& options, CTextSink* searcher);

private:
    kestrix::FileSystem& fileSystem_;
    std::vector<CTextSource*> sources_;
};

} // namespace sorbex
