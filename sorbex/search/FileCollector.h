// Building the list of files (and, with subdirectories, directories) a search works on.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "platform/FileSystem.h"
#include "search/FileEntry.h"
#include "search/FileListUi.h"

namespace sorbex {

class CFileCollector {
public:
    CFileCollector(kestrix::FileSystem& fileSystem, CFileListUi& ui)
        : fileSystem_(fileSystem), ui_(ui) {}

    // Walks `directories` (checked full paths, each ending in a separator) in order
    // and fills the sorted file list with the entries whose names match a mask of
    // `maskText`. Returns the number of entries added; `filesSeen` counts every file
    // met, matching or not. Stops early, keeping what it found, on cancellation.
    // `detail` says whether the entries need their size and time at once.
    int CollectFiles(const std::vector<std::string>& directories, const std::string& directoryText,
                     const std::string& maskText, bool withSubdirectories,
                     kestrix::EntryDetail detail, int& filesSeen);

    const std::vector<CFileEntry>& files() const { return files_; }
    // Directories reported as not searched by the last collection.
    int skipped() const { return skipped_; }

private:
    // `known` is the identity of `dir` when its listing told it; null to ask.
    int Walk(const std::string& dir, const kestrix::FileIdentity* known);
    void ReportSkipped(unsigned messageId, const std::string& path, const std::string& reason);
    bool Matches(const std::string& name) const;
    bool SameFolder(const std::string& a, const std::string& b);

    kestrix::FileSystem& fileSystem_;
    CFileListUi& ui_;
    std::vector<CFileEntry> files_;
    std::vector<std::string> masks_;
    bool withSubdirectories_ = false;
    kestrix::EntryDetail detail_ = kestrix::EntryDetail::SizeAndTime;
    int filesSeen_ = 0;
    int skipped_ = 0;
    // The directories the walk is inside of, outermost first, for telling a link that
    // leads back up (which would be walked for ever) from an ordinary folder.
    // `listed`: the identity came from the parent's listing, not from the folder.
    struct Ancestor {
        kestrix::FileIdentity identity;
        std::string path;
        bool listed;
    };
    std::vector<Ancestor> ancestors_;
    // Every directory walked in this collection, by identity (volume, index).
    struct Walked {
        std::string path;
        bool listed;
    };
    std::map<std::pair<std::uint64_t, std::uint64_t>, Walked> walked_;
};

} // namespace sorbex
