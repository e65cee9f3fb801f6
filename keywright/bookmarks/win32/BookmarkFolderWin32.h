// The bookmark folder of the running add-in: beside its DLL, or below the user's
// application data.
#pragma once

#include "bookmarks/BookmarkFolder.h"

#include <windows.h>

#include <string>

namespace keywright {

// The full file name of `module`; empty when the system cannot say.
std::string ModuleFileName(HMODULE module);

// The current user's application-data folder; empty when there is none.
std::string UserApplicationDataFolder();

// The folder the bookmarks of the add-in in `module` live in.
BookmarkFolder FindBookmarkFolder(kestrix::FileSystem& fs, HMODULE module);

} // namespace keywright
