// Loading the text of one file for the search run: from the document cache, a
// word-processor converter or the raw bytes, through the internal readers and
// CleanText.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/FileSystem.h"
#include "text/TextCache.h"
#include "text/TextConverterList.h"
#include "text/TextEncoding.h"
#include "text/TextSink.h"

namespace sorbex {

struct CTextLoadOptions {
    bool replaceMode = false;
    bool useInternalFilter = false; // HTML and RTF files are read by the internal readers
    bool useExternalFilter = false; // the converters and the document cache are used
    // How a file's bytes are read as characters; converters' and the cache's texts are
    // taken as they are.
    CEncodingChoice encoding = CEncodingChoice::Auto;
    // The file's size when the caller knows it already; else the loader asks.
    bool sizeKnown = false;
    std::uint64_t size = 0;
};

enum class CTextLoadOutcome {
    Handed,    // the sink received the text
    Skipped,   // the file could not be read; no results and no message
    Cancelled, // the run was cancelled before the file was read
    TooLarge,  // its text would not fit the 32-bit offsets of passages; not read
};

struct CTextLoadResult {
    CTextLoadOutcome outcome = CTextLoadOutcome::Skipped;
    kestrix::OsError error; // why a file was skipped, for callers that log it
};

// Longer than 3 characters and ending in ".htm", or longer than 4 and ending in
// ".html", ignoring case.
bool IsHtmlName(const std::string& name);
// Longer than 3 characters and ending in ".rtf", ignoring case.
bool IsRtfName(const std::string& name);

class CFileTextLoader {
public:
    explicit CFileTextLoader(kestrix::FileSystem& fileSystem) : fileSystem_(fileSystem) {}

    // Neither is owned; null (the default) works without them.
    void SetCache(CTextCache* cache) { cache_ = cache; }
    void SetConverters(CTextConverterList* converters) { converters_ = converters; }

    // Reads `dir` + `name` (`dir` ends in a separator), converts and cleans it and hands
    // it with its origin flags to `searcher`. A file that cannot be read is skipped
    // silently.
    CTextLoadResult LoadFileText(const std::string& dir, const std::string& name,
                                 const CTextLoadOptions& options, CTextSink* searcher);

    // Whether loading `name` reaches the converters and the cache of their texts: only
    // files that a converter's extensions name do, so that every other file costs the
    // cache nothing. Those two belong to the thread that set them; a loader of its own
    // on any thread reads the other files the same way.
    bool UsesConverters(const std::string& name, const CTextLoadOptions& options) const {
        return options.useExternalFilter && converters_ && converters_->AnyMatches(name);
    }

private:
    kestrix::FileSystem& fileSystem_;
    CTextCache* cache_ = nullptr;
    CTextConverterList* converters_ = nullptr;
    // Kept between files so that a search of many files reuses their memory, unless a
    // sink still holds it.
    std::shared_ptr<std::string> text_;
    std::string scratch_;
    std::string path_;
    std::vector<COutsideCharacter> outside_;
};

} // namespace sorbex
