// Building the list of files (and, with subdirectories, directories) a search works on.
#include "search/FileCollector.h"

#include "search/FileListOrder.h"
#include "search/MatchMask.h"
#include "search/NameCase.h"
#include "search/SplitList.h"
#include "strings/SorbexStrings.h"

namespace sorbex {

int CFileCollector::CollectFiles(const std::vector<std::string>& directories,
                                 const std::string& directoryText, const std::string& maskText,
                                 bool withSubdirectories, kestrix::EntryDetail detail,
                                 int& filesSeen) {
    filesSeen_ = 0;
    detail_ = detail;
    masks_ = SplitList(maskText);
    withSubdirectories_ = withSubdirectories;
    ui_.RememberHistory(directoryText, maskText);
    files_.clear();
    int added = 0;
    for (const std::string& dir : directories) {
        added += Walk(dir);
        ui_.ProcessMessages();
        if (ui_.CancelRequested())
            break;
    }
    SortFileList(files_, fileSystem_);
    ui_.ShowIdleStatus();
    filesSeen = filesSeen_;
    return added;
}

bool CFileCollector::Matches(const std::string& name) const {
    for (const std::string& mask : masks_)
        if (MatchMask(name, mask))
            return true;
    return false;
}

int CFileCollector::Walk(const std::string& dir) {
    ui_.SetStatusText(FormatSorbexString(IDS_SCANNING_DIRECTORY, {dir}));
    ui_.ProcessMessages();
    if (ui_.CancelRequested())
        return 0;

    int added = 0;
    // A directory that cannot be listed adds nothing and says nothing.
    fileSystem_.ListDirectory(dir, detail_, [&](const kestrix::DirEntry& entry) {
        const std::string name = entry.isShortName ? RecaseShortName(entry.name) : entry.name;
        if (!entry.isDirectory) {
            ++filesSeen_;
            if (Matches(name)) {
                files_.push_back({name, dir, 0, entry.size, entry.modified, entry.statusKnown});
                ++added;
            }
        } else if (withSubdirectories_) {
            if (Matches(name)) {
                files_.push_back({name, dir, 1, entry.size, entry.modified, entry.statusKnown});
                ++added;
            }
            // A link may lead back to a directory above it; following it would
            // walk for ever.
            if (!entry.isLink)
                added += Walk(dir + name + kestrix::kPathSeparator);
        }
        ui_.ProcessMessages();
        return !ui_.CancelRequested();
    });
    return added;
}

} // namespace sorbex
