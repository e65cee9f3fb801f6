// The registry seam on Windows: each operation is one advapi32 call, its code passed on.
#ifdef _WIN32

#include "platform/win32/Win32Registry.h"

#include <windows.h>

namespace kestrix {

namespace {

// The predefined roots are sign-extended 32-bit values; on 64-bit Windows the
// seam's unsigned constants must be widened the same way to name the same keys.
HKEY ToHkey(RegKey key) {
    if (IsPredefinedKey(key))
        return reinterpret_cast<HKEY>(
            static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(key))));
    return reinterpret_cast<HKEY>(key);
}

RegKey FromHkey(HKEY key) {
    auto value = reinterpret_cast<ULONG_PTR>(key);
    auto low = static_cast<std::uint32_t>(value);
    if (IsPredefinedKey(low) && ToHkey(low) == key)
        return low;
    return static_cast<RegKey>(value);
}

REGSAM ToSam(RegAccess access) {
    return access == RegAccess::ReadWrite ? KEY_READ | KEY_WRITE : KEY_READ;
}

// advapi32 sizes are DWORDs; the seam's are the same width, but not the same type.
static_assert(sizeof(DWORD) == sizeof(std::uint32_t), "DWORD is 32 bits");

DWORD* AsDword(std::uint32_t* p) {
    return reinterpret_cast<DWORD*>(p);
}

} // namespace

long Win32Registry::OpenKey(RegKey parent, const char* subkey, RegAccess access, RegKey* result) {
    HKEY key = nullptr;
    long rc = RegOpenKeyExA(ToHkey(parent), subkey ? subkey : "", 0, ToSam(access), &key);
    if (rc == ERROR_SUCCESS)
        *result = FromHkey(key);
    return rc;
}

long Win32Registry::CreateKey(RegKey parent, const char* subkey, RegKey* result) {
    HKEY key = nullptr;
    long rc =
        RegCreateKeyExA(ToHkey(parent), subkey ? subkey : "", 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS)
        *result = FromHkey(key);
    return rc;
}

long Win32Registry::CloseKey(RegKey key) {
    return RegCloseKey(ToHkey(key));
}

long Win32Registry::EnumKey(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize) {
    return RegEnumKeyExA(ToHkey(key), index, name, AsDword(nameSize), nullptr, nullptr, nullptr,
                         nullptr);
}

long Win32Registry::EnumValue(RegKey key, std::uint32_t index, char* name, std::uint32_t* nameSize,
                              std::uint32_t* type, void* data, std::uint32_t* dataSize) {
    return RegEnumValueA(ToHkey(key), index, name, AsDword(nameSize), nullptr, AsDword(type),
                         static_cast<BYTE*>(data), AsDword(dataSize));
}

long Win32Registry::QueryValue(RegKey key, const char* name, std::uint32_t* type, void* data,
                               std::uint32_t* dataSize) {
    return RegQueryValueExA(ToHkey(key), name, nullptr, AsDword(type), static_cast<BYTE*>(data),
                            AsDword(dataSize));
}

long Win32Registry::SetValue(RegKey key, const char* name, std::uint32_t type, const void* data,
                             std::uint32_t size) {
    return RegSetValueExA(ToHkey(key), name, 0, type, static_cast<const BYTE*>(data), size);
}

long Win32Registry::DeleteValue(RegKey key, const char* name) {
    return RegDeleteValueA(ToHkey(key), name);
}

long Win32Registry::DeleteKey(RegKey parent, const char* subkey) {
    return RegDeleteKeyA(ToHkey(parent), subkey ? subkey : "");
}

long Win32Registry::ConnectRegistry(const char* computer, RegKey root, RegKey* result) {
    HKEY key = nullptr;
    long rc = RegConnectRegistryA(computer && *computer ? computer : nullptr, ToHkey(root), &key);
    if (rc == ERROR_SUCCESS)
        *result = FromHkey(key);
    return rc;
}

} // namespace kestrix

#endif // _WIN32
