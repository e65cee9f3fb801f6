// The four most recently used result files, as the File menu lists them.
#pragma once

#include <string>
#include <vector>

#include "app/Profile.h"

namespace sorbex {

class CRecentFiles {
public:
    // Entries "File1" to "File4" of section "Recent File List".
    void Load(CProfile& profile);
    void Save(CProfile& profile) const;

    // The file goes to the front; the same path further down (in any letter case)
    // leaves its place, and the list keeps four entries.
    void Add(const std::string& path);
    void Remove(const std::string& path);

    const std::vector<std::string>& entries() const { return entries_; }
    // The most recently used file, or "" when there is none.
    std::string MostRecent() const { return entries_.empty() ? std::string() : entries_[0]; }

private:
    std::vector<std::string> entries_;
};

// The menu text of entry `index` (from 0): "&1 C:\path\file.sbx", with every "&" of the
// path doubled so that it shows as itself.
std::string RecentFileMenuText(std::size_t index, const std::string& path);

} // namespace sorbex
