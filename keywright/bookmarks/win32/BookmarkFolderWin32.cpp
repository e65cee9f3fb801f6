// The running add-in's bookmark folder.
#include "bookmarks/win32/BookmarkFolderWin32.h"

#include <shlobj.h>

#include <vector>

namespace keywright {

std::string ModuleFileName(HMODULE module) {
    std::vector<char> path(MAX_PATH);
    while (true) {
        DWORD length = GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size())
            return std::string(path.data(), length);
        path.resize(path.size() * 2);
    }
}

std::string UserApplicationDataFolder() {
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

BookmarkFolder FindBookmarkFolder(kestrix::FileSystem& fs, HMODULE module) {
    return ChooseBookmarkFolder(fs, ModuleFileName(module), UserApplicationDataFolder());
}

} // namespace keywright
