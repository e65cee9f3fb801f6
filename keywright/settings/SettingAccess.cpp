// ReadSetting and WriteSetting over the registry seam.
#include "settings/SettingAccess.h"

#include "platform/ScopedRegKey.h"
#include "settings/DecimalConversion.h"
#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace keywright {

namespace {

using kestrix::kErrorSuccess;
using kestrix::kHkeyCurrentUser;
using kestrix::kRegDword;
using kestrix::kRegSz;
using kestrix::RegAccess;
using kestrix::ScopedRegKey;

ScopedRegKey OpenOrCreateSubkey(const SettingsBackend& backend, const SettingRow& row) {
    ScopedRegKey key(*backend.registry);
    std::string path = backend.rootPath + row.subkey;
    if (backend.registry->OpenKey(kHkeyCurrentUser, path.c_str(), RegAccess::ReadWrite,
                                  key.Receive()) != kErrorSuccess &&
        backend.registry->CreateKey(kHkeyCurrentUser, path.c_str(), key.Receive()) != kErrorSuccess)
        key.Close();
    return key;
}

void Show(const SettingsBackend& backend, unsigned stringId) {
    if (backend.showMessage)
        backend.showMessage(KeywrightString(stringId));
}

// A stored text must end inside the buffer; one that fills it without a NUL would be
// read past its end, so it counts as too long.
bool TerminateText(std::vector<char>& data, std::uint32_t got) {
    if (got < data.size()) {
        data[got] = '\0';
        return true;
    }
    return !data.empty() && data.back() == '\0';
}

} // namespace

int ReadSetting(const SettingsBackend& backend, std::uint32_t id, void* buffer,
                std::uint32_t size) {
    const SettingRow* row = FindSetting(id);
    if (row == nullptr || backend.registry == nullptr || buffer == nullptr || size == 0)
        return 0;
    ScopedRegKey key = OpenOrCreateSubkey(backend, *row);
    if (!key)
        return 0;

    // Query into a copy, so that a failed or partial read never reaches the caller.
    std::vector<char> data(size);
    std::uint32_t got = size;
    long rc = backend.registry->QueryValue(key.get(), row->valueName, nullptr, data.data(), &got);
    if (rc == kErrorSuccess && (row->type != kRegSz || TerminateText(data, got))) {
        std::memcpy(buffer, data.data(), row->type == kRegSz ? std::min(got + 1, size) : got);
        return 1;
    }

    if (row->type == kRegSz) {
        auto length = static_cast<std::uint32_t>(std::strlen(row->defaultText) + 1);
        if (backend.registry->SetValue(key.get(), row->valueName, kRegSz, row->defaultText,
                                       length) != kErrorSuccess)
            return 0;
        // The default is stored either way; a buffer too small for it is not overrun.
        if (length > size)
            return 0;
        std::memcpy(buffer, row->defaultText, length);
    } else {
        auto value = static_cast<std::uint32_t>(DecimalToInt(row->defaultText));
        if (backend.registry->SetValue(key.get(), row->valueName, kRegDword, &value,
                                       sizeof value) != kErrorSuccess)
            return 0;
        if (size < sizeof value)
            return 0;
        std::memcpy(buffer, &value, sizeof value);
    }
    return 1;
}

int WriteSetting(const SettingsBackend& backend, std::uint32_t id, const void* data,
                 std::uint32_t size) {
    const SettingRow* row = FindSetting(id);
    if (row == nullptr) {
        Show(backend, kStrDefaultNotFound);
        return 0;
    }
    if (backend.registry == nullptr)
        return 0;
    ScopedRegKey key = OpenOrCreateSubkey(backend, *row);
    if (!key)
        return 0;
    if (backend.registry->SetValue(key.get(), row->valueName, row->type, data, size) !=
        kErrorSuccess) {
        Show(backend, kStrSetValueFailed);
        return 0;
    }
    return 1;
}

} // namespace keywright
