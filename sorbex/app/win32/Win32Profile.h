// The profile file through the system's profile functions, and the system's answers to
// where the profile is kept.
#pragma once

#include <string>

#include "app/Profile.h"
#include "app/ProfileLocation.h"

namespace sorbex {

// Reads and writes the INI file at `path` value by value; nothing is cached, so what
// another instance writes is seen at the next read.
class CWin32ProfileStore : public CProfileStore {
public:
    explicit CWin32ProfileStore(std::string path) : path_(std::move(path)) {}

    bool Read(const std::string& section, const std::string& key, std::string& value) override;
    void Write(const std::string& section, const std::string& key,
               const std::string& value) override;
    void Remove(const std::string& section, const std::string& key) override;

    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// The Windows directory and the user's application-data folder; tests name their own.
class CWin32ProfilePlaces : public CProfilePlaces {
public:
    CWin32ProfilePlaces();
    CWin32ProfilePlaces(std::string windowsDirectory, std::string applicationData)
        : windows_(std::move(windowsDirectory)), appData_(std::move(applicationData)) {}

    std::string WindowsDirectory() override { return windows_; }
    std::string ApplicationDataDirectory() override { return appData_; }
    bool FileExists(const std::string& path) override;
    bool CanWrite(const std::string& path) override;
    bool MakeDirectories(const std::string& directory) override;
    bool CopyExisting(const std::string& from, const std::string& to) override;

private:
    std::string windows_;
    std::string appData_;
};

// The profile of the running program, chosen as ChooseProfileLocation says.
CProfileLocation SystemProfileLocation();

} // namespace sorbex
