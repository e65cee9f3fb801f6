// Where the profile file lives: the Windows directory where it can be written there,
// else the user's application-data folder.
#include "app/ProfileLocation.h"

#include "platform/FileSystem.h"

namespace sorbex {

std::string ProfileFileName(const std::string& programPath) {
    std::size_t start = programPath.size();
    // Either slash, and a drive's colon, end the directory part on every system.
    while (start > 0 && programPath[start - 1] != '\\' && programPath[start - 1] != '/' &&
           programPath[start - 1] != ':')
        --start;
    std::string name = programPath.substr(start);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0)
        name.erase(dot);
    return name + ".INI";
}

CProfileLocation ChooseProfileLocation(CProfilePlaces& places, const std::string& fileName) {
    CProfileLocation location;
    const std::string windowsProfile = places.WindowsDirectory() + fileName;
    const bool windowsProfileExists = places.FileExists(windowsProfile);
    const std::string appData = places.ApplicationDataDirectory();
    if ((windowsProfileExists && places.CanWrite(windowsProfile)) || appData.empty()) {
        location.path = windowsProfile;
        location.inWindowsDirectory = true;
        return location;
    }
    const std::string folder = appData + kProfileFolder + kestrix::kPathSeparator;
    location.path = folder + fileName;
    if (!places.MakeDirectories(folder)) {
        // Nowhere to write: reading the old profile still gives the user's choices.
        location.path = windowsProfile;
        location.inWindowsDirectory = true;
        return location;
    }
    if (windowsProfileExists && !places.FileExists(location.path))
        location.copiedFromWindowsDirectory = places.CopyExisting(windowsProfile, location.path);
    return location;
}

} // namespace sorbex
