// Checking the directories of a search before any file is read.
#include "search/DirectoryCheck.h"

#include "search/SplitList.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

void EnsureTrailingSeparator(std::string& path) {
    if (path.empty() || !kestrix::IsPathSeparator(path.back()))
        path += kestrix::kPathSeparator;
}

} // namespace

int CheckDirectories(const std::string& directoryText, kestrix::FileSystem& fileSystem,
                     CFileListUi& ui, std::vector<std::string>& directories) {
    directories.clear();
    for (std::string item : SplitList(directoryText)) {
        EnsureTrailingSeparator(item);
        std::string full;
        while (fileSystem.FullPath(item, full)) {
            // Typically no medium in the drive: worth asking for one only where the
            // user can put one in.
            const std::string root = fileSystem.RootOf(item);
            unsigned prompt = 0;
            switch (fileSystem.DriveTypeOf(root)) {
            case kestrix::DriveType::Removable:
                prompt = IDS_INSERT_DISC;
                break;
            case kestrix::DriveType::CdRom:
                prompt = IDS_INSERT_CD_ROM;
                break;
            default:
                break;
            }
            if (prompt == 0) {
                full = item;
                break;
            }
            if (!ui.AskOkCancel(FormatSorbexString(prompt, {root}))) {
                directories.clear();
                return 0;
            }
        }
        EnsureTrailingSeparator(full);
        if (fileSystem.CheckDirectory(full)) {
            ui.ShowError(SorbexString(IDS_INVALID_DIRECTORY));
            directories.clear();
            return 0;
        }
        directories.push_back(full);
    }
    return 1;
}

} // namespace sorbex
