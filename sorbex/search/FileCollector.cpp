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
    ancestors_.clear();
    walked_.clear();
    skipped_ = 0;
    int added = 0;
    for (const std::string& dir : directories) {
        added += Walk(dir, nullptr);
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

bool CFileCollector::SameFolder(const std::string& a, const std::string& b) {
    // An identity from a listing takes the parent's volume. Wine shows a file system
    // mounted below as a plain folder, whose index may equal one on the parent's: before
    // a folder is passed over for such a match, both are asked. A folder that cannot be
    // asked keeps the match.
    kestrix::FileIdentity first;
    kestrix::FileIdentity second;
    if (fileSystem_.GetFileIdentity(a, first) || fileSystem_.GetFileIdentity(b, second))
        return true;
    return first == second;
}

void CFileCollector::ReportSkipped(unsigned messageId, const std::string& path,
                                   const std::string& reason) {
    ++skipped_;
    ui_.ReportSkipped(path, FormatSorbexString(messageId, {path, reason}));
}

int CFileCollector::Walk(const std::string& dir, const kestrix::FileIdentity* known) {
    ui_.SetStatusText(FormatSorbexString(IDS_SCANNING_DIRECTORY, {dir}));
    ui_.ProcessMessages();
    if (ui_.CancelRequested())
        return 0;
    // Links are not followed, but not every link says that it is one (a Unix link seen
    // through Wine is a plain folder): a directory that is one of its own ancestors is
    // where the walk would go round for ever.
    // Asking costs opening the folder once more, which under Wine is several trips to
    // the server; a folder whose parent's listing told its index is spared that.
    kestrix::FileIdentity identity;
    bool identified = true;
    if (known)
        identity = *known;
    else
        identified = !fileSystem_.GetFileIdentity(dir, identity);
    const bool listed = known != nullptr;
    if (identified) {
        for (const Ancestor& ancestor : ancestors_) {
            if (ancestor.identity == identity &&
                (!(listed || ancestor.listed) || SameFolder(dir, ancestor.path))) {
                ReportSkipped(IDS_DIRECTORY_LOOP, dir, ancestor.path);
                return 0;
            }
        }
        // Folders given in the list may lie inside each other or name one folder in
        // two spellings; each is walked once, so that no file is searched (and replaced)
        // twice.
        const auto seen = walked_.emplace(std::make_pair(identity.volume, identity.index),
                                          Walked{dir, listed});
        if (!seen.second && (!(listed || seen.first->second.listed) ||
                             SameFolder(dir, seen.first->second.path)))
            return 0;
        ancestors_.push_back({identity, dir, listed});
    }
    int added = 0;
    // The folders below are walked once this one's listing is done: its entries then
    // lie together in the list, which the sort takes a folder at a time, and no listing
    // stays open while the folders below it are walked.
    struct Below {
        std::string path;
        std::uint64_t index;
        bool indexKnown;
    };
    std::vector<Below> below;
    std::string recased;
    // A directory that cannot be listed adds nothing to the list; the user interface
    // decides whether to say so.
    const kestrix::OsError error =
        fileSystem_.ListDirectory(dir, detail_, [&](const kestrix::DirEntry& entry) {
        const std::string& name =
            entry.isShortName ? (recased = RecaseShortName(entry.name)) : entry.name;
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
                below.push_back({dir + name + kestrix::kPathSeparator, entry.index,
                                 identified && entry.indexKnown});
        }
        ui_.ProcessMessages();
        return !ui_.CancelRequested();
    });
    for (const Below& sub : below) {
        if (ui_.CancelRequested())
            break;
        const kestrix::FileIdentity listed{identity.volume, sub.index};
        added += Walk(sub.path, sub.indexKnown ? &listed : nullptr);
    }
    if (error)
        ReportSkipped(IDS_DIRECTORY_NOT_LISTED, dir, kestrix::OsErrorText(error.code));
    if (identified)
        ancestors_.pop_back();
    return added;
}

} // namespace sorbex
