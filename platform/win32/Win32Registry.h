// The registry seam on Windows: the system registry through advapi32.
#pragma once

#include "platform/Registry.h"

namespace kestrix {

class Win32Registry : public Registry {
public:
    long OpenKey(RegKey parent, const char* subkey, RegAccess access, RegKey* result) override;
    long CreateKey(RegKey parent, const char* subkey, RegKey* result) override;
    long CloseKey(RegKey key) override;
    long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) override;
    long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                   std::uint32_t* type, void* data, std::uint32_t* dataSize) override;
    long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                    std::uint32_t* dataSize) override;
    long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                  std::uint32_t size) override;
    long DeleteValue(RegKey key, const char* name) override;
    long DeleteKey(RegKey parent, const char* subkey) override;
    long ConnectRegistry(const char* computer, RegKey root, RegKey* result) override;
};

} // namespace kestrix
