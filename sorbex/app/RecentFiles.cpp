// The four most recently used result files, as the File menu lists them.
#include "app/RecentFiles.h"

#include <algorithm>

#include "app/AppSettings.h"
#include "search/NameCase.h"

namespace sorbex {

void CRecentFiles::Load(CProfile& profile) {
    entries_ = profile.GetTextList(section::kRecentFiles, key::kRecentFile);
    if (entries_.size() > kRecentFileCount)
        entries_.resize(kRecentFileCount);
}

void CRecentFiles::Save(CProfile& profile) const {
    profile.WriteTextList(section::kRecentFiles, key::kRecentFile, entries_, kRecentFileCount,
                          true);
}

void CRecentFiles::Add(const std::string& path) {
    if (path.empty())
        return;
    Remove(path);
    entries_.insert(entries_.begin(), path);
    if (entries_.size() > kRecentFileCount)
        entries_.resize(kRecentFileCount);
}

void CRecentFiles::Remove(const std::string& path) {
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const std::string& e) { return SameNameIgnoringCase(e, path); }),
                   entries_.end());
}

std::string RecentFileMenuText(std::size_t index, const std::string& path) {
    std::string text = "&" + std::to_string(index + 1) + " ";
    for (char c : path) {
        if (c == '&')
            text += '&';
        text += c;
    }
    return text;
}

} // namespace sorbex
