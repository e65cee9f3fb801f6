// Reading and storing the sender, the server and the port.
#include "mail/MailSettings.h"

#include "settings/SettingsStore.h"

#include <vector>

namespace keywright {

std::string ReadTextSetting(const SettingsBackend& backend, std::uint32_t id) {
    std::vector<char> buffer(kMailSettingCapacity, '\0');
    if (ReadSetting(backend, id, buffer.data(), kMailSettingCapacity) != 1)
        return std::string();
    buffer.back() = '\0';
    return buffer.data();
}

bool WriteTextSetting(const SettingsBackend& backend, std::uint32_t id, const std::string& text) {
    return WriteSetting(backend, id, text.c_str(), static_cast<std::uint32_t>(text.size() + 1)) == 1;
}

std::uint32_t ReadNumberSetting(const SettingsBackend& backend, std::uint32_t id,
                                std::uint32_t fallback) {
    std::uint32_t value = fallback;
    if (ReadSetting(backend, id, &value, sizeof value) != 1)
        return fallback;
    return value;
}

bool WriteNumberSetting(const SettingsBackend& backend, std::uint32_t id, std::uint32_t value) {
    return WriteSetting(backend, id, &value, sizeof value) == 1;
}

MailSettings LoadMailSettings(const SettingsBackend& backend) {
    MailSettings settings;
    settings.fullName = ReadTextSetting(backend, kSettingFullName);
    settings.address = ReadTextSetting(backend, kSettingAddress);
    settings.server = ReadTextSetting(backend, kSettingSmtpServer);
    settings.port = ReadNumberSetting(backend, kSettingPort, 25);
    return settings;
}

bool StoreMailSettings(const SettingsBackend& backend, const MailSettings& settings) {
    bool stored = WriteTextSetting(backend, kSettingFullName, settings.fullName);
    stored = WriteTextSetting(backend, kSettingAddress, settings.address) && stored;
    stored = WriteTextSetting(backend, kSettingSmtpServer, settings.server) && stored;
    return WriteNumberSetting(backend, kSettingPort, settings.port) && stored;
}

} // namespace keywright
