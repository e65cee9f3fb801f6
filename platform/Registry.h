// The registry seam: the handful of registry operations portable code may use, with
// the registry's own result codes, value types and predefined root keys.
#pragma once

#include <cstdint>

namespace kestrix {

// A key handle as the registry hands it out. Predefined roots have fixed values; an
// implementation maps them onto its own handles.
using RegKey = std::uintptr_t;

constexpr RegKey kHkeyClassesRoot = 0x80000000u;
constexpr RegKey kHkeyCurrentUser = 0x80000001u;
constexpr RegKey kHkeyLocalMachine = 0x80000002u;
constexpr RegKey kHkeyUsers = 0x80000003u;
constexpr RegKey kHkeyPerformanceData = 0x80000004u;
constexpr RegKey kHkeyCurrentConfig = 0x80000005u;
constexpr RegKey kHkeyDynData = 0x80000006u;

inline bool IsPredefinedKey(RegKey key) {
    return key >= kHkeyClassesRoot && key <= kHkeyDynData;
}

// Value types.
constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;
constexpr std::uint32_t kRegMultiSz = 7;

// Result codes, with the numbers the registry itself returns so that callers can
// pass them on unchanged.
constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorInvalidHandle = 6;
constexpr long kErrorBadNetpath = 53;
constexpr long kErrorInvalidParameter = 87;
constexpr long kErrorMoreData = 234;
constexpr long kErrorNoMoreItems = 259;
constexpr long kErrorKeyDeleted = 1018;

enum class RegAccess { Read, ReadWrite };

// Names are 8-bit texts. Sizes follow the registry's conventions: name sizes count
// characters and go in as the buffer's capacity including its NUL and come out as the
// name's length without it; data sizes count bytes and come out as the stored size,
// also when the buffer was too small (result kErrorMoreData) or absent.
class Registry {
public:
    virtual ~Registry() = default;

    // An empty subkey opens a new handle to `parent` itself.
    virtual long OpenKey(RegKey parent, const char* subkey, RegAccess access, RegKey* result) = 0;
    // Opens the key for reading and writing, creating it and any missing parents.
    virtual long CreateKey(RegKey parent, const char* subkey, RegKey* result) = 0;
    virtual long CloseKey(RegKey key) = 0;

    // Subkey `index` of `key`; kErrorNoMoreItems past the last one.
    virtual long EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) = 0;
    // Value `index` of `key`; `type`, `data` and `dataSize` may each be null.
    virtual long EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                           std::uint32_t* type, void* data, std::uint32_t* dataSize) = 0;
    // An empty name is the key's unnamed value. `data` null asks for the size only.
    virtual long QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                            std::uint32_t* dataSize) = 0;
    virtual long SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                          std::uint32_t size) = 0;
    virtual long DeleteValue(RegKey key, const char* name) = 0;
    // Deletes a key without subkeys; a key that still has subkeys is refused.
    virtual long DeleteKey(RegKey parent, const char* subkey) = 0;

    // A root key of another computer ("\\NAME"); a null or empty name is this one.
    virtual long ConnectRegistry(const char* computer, RegKey root, RegKey* result) = 0;
};

} // namespace kestrix
