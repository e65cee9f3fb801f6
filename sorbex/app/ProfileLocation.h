// Where the profile file lives: the Windows directory where it can be written there,
// else the user's application-data folder.
#pragma once

#include <string>

namespace sorbex {

// What choosing the place asks of the system.
class CProfilePlaces {
public:
    virtual ~CProfilePlaces() = default;

    // Both end in the path separator; the second is empty when the system names none.
    virtual std::string WindowsDirectory() = 0;
    virtual std::string ApplicationDataDirectory() = 0;

    virtual bool FileExists(const std::string& path) = 0;
    // Whether the existing file can be opened for writing, without changing it.
    virtual bool CanWrite(const std::string& path) = 0;
    // Makes the directory and its parents; true when it exists afterwards.
    virtual bool MakeDirectories(const std::string& directory) = 0;
    // Copies a file; fails when `to` exists.
    virtual bool CopyExisting(const std::string& from, const std::string& to) = 0;
};

// The folder below the application-data directory that holds the profile.
constexpr const char* kProfileFolder = "Kestrix";

struct CProfileLocation {
    std::string path;
    bool inWindowsDirectory = false;
    // An existing profile of the Windows directory was copied to `path` now.
    bool copiedFromWindowsDirectory = false;
};

// "Sorbex.INI" for the program file "C:\...\Sorbex.exe": the file's name without its
// extension, with ".INI".
std::string ProfileFileName(const std::string& programPath);

// A profile in the Windows directory that exists and can be written stays in use, so
// that an installation that has always kept it there keeps it. Everywhere else
// (a standard user since the system protects that directory, or a first start) the
// profile is kept in the application-data folder; an existing profile of the Windows
// directory is copied there the first time, so that no preference is lost.
CProfileLocation ChooseProfileLocation(CProfilePlaces& places, const std::string& fileName);

} // namespace sorbex
