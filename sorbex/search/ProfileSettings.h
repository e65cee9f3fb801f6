// The program's profile settings as the search core reads and writes them.
#pragma once

#include <string>

namespace sorbex {

// Integer values by section and key; the application backs it with its profile file.
class CProfileSettings {
public:
    virtual ~CProfileSettings() = default;

    virtual int GetInt(const std::string& section, const std::string& key, int fallback) = 0;
    virtual void WriteInt(const std::string& section, const std::string& key, int value) = 0;
};

} // namespace sorbex
