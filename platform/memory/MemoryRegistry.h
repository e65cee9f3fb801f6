// A registry kept in memory, for tests: the aliases, codes and buffer rules of the
// real one, plus switches that make keys unreadable and other computers reachable.
#pragma once

#include "platform/Registry.h"

#include <map>
#include <memory>
#include <string>

namespace kestrix {

namespace memreg {
struct Node;
struct Computer;
} // namespace memreg

// What the in-memory registry refuses on a key, as a permission would.
enum class MemoryDenial { None, Write, All };

// Subkeys enumerate in the order of their upper-cased names (how the real registry
// keeps them); values in the order they were first set. Names compare
// case-insensitively for the ASCII letters only and keep the case they were created
// with. Empty path components (two backslashes in a row, a trailing one) are skipped.
//
// HKEY_CURRENT_USER is HKEY_USERS\<sid>, HKEY_CLASSES_ROOT is
// HKEY_LOCAL_MACHINE\Software\Classes and HKEY_CURRENT_CONFIG is
// HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current; all three
// exist from the start, as does HKEY_USERS\.DEFAULT. HKEY_PERFORMANCE_DATA and
// HKEY_DYN_DATA answer kErrorInvalidHandle, as on current systems.
class MemoryRegistry : public Registry {
public:
    explicit MemoryRegistry(std::string computerName = "KESTRIX",
                            std::string currentUserSid = "S-1-5-21-1000-1000-1000-1000");
    ~MemoryRegistry() override;

    const std::string& ComputerName() const { return computerName_; }
    const std::string& CurrentUserSid() const { return currentUserSid_; }

    // Makes an existing key refuse opening (All) or writing (Write). Returns a
    // registry code: kErrorFileNotFound when the key does not exist.
    long Deny(RegKey root, const char* subkey, MemoryDenial denial);
    // Makes a computer of that name reachable through ConnectRegistry, with empty
    // HKEY_LOCAL_MACHINE and HKEY_USERS of its own.
    void AddRemoteComputer(const std::string& name);
    // Handles handed out and not yet closed.
    std::size_t OpenHandleCount() const { return handles_.size(); }
    // Lets `count` more changes (set or delete a value, create or delete a key)
    // succeed, then refuses `failures` changes (all, when negative) with `code`, as a
    // full disk or a permission change would half way through a long operation. A
    // negative count lets every change succeed again.
    void FailChangesAfter(long count, long code = kErrorAccessDenied, long failures = -1) {
        changesLeft_ = count;
        failureCode_ = code;
        failuresLeft_ = failures;
    }

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

private:
    struct Handle {
        std::shared_ptr<memreg::Node> node;
        RegAccess access = RegAccess::Read;
    };

    long Resolve(RegKey key, Handle* out) const;
    // The existing key `subkey` below `parent`; kErrorFileNotFound when there is none.
    long FindKey(RegKey parent, const char* subkey, std::shared_ptr<memreg::Node>* out) const;
    RegKey NewHandle(const std::shared_ptr<memreg::Node>& node, RegAccess access);
    // kErrorSuccess while injected failures allow one more change, consuming it.
    long TakeChange();

    std::string computerName_;
    std::string currentUserSid_;
    std::unique_ptr<memreg::Computer> local_;
    std::map<std::string, std::unique_ptr<memreg::Computer>> remotes_; // by upper-cased name
    std::map<RegKey, Handle> handles_;
    RegKey nextHandle_ = 0x1000;
    long changesLeft_ = -1;
    long failureCode_ = kErrorAccessDenied;
    long failuresLeft_ = -1;
};

} // namespace kestrix
