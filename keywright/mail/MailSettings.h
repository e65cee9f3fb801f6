// The mail settings as the mail dialog and its setup window read and store them.
#pragma once

#include "settings/SettingAccess.h"

#include <cstdint>
#include <string>

namespace keywright {

// The texts are read into buffers of these sizes, terminator included.
constexpr std::uint32_t kMailSettingCapacity = 500;

struct MailSettings {
    std::string fullName;
    std::string address;
    std::string server;
    std::uint32_t port = 25;
};

// Each missing value is created with its default on the way.
MailSettings LoadMailSettings(const SettingsBackend& backend);

// Stores all four; false when one could not be written (its message has been shown).
bool StoreMailSettings(const SettingsBackend& backend, const MailSettings& settings);

std::string ReadTextSetting(const SettingsBackend& backend, std::uint32_t id);
bool WriteTextSetting(const SettingsBackend& backend, std::uint32_t id, const std::string& text);
// `fallback` when the setting cannot be read.
std::uint32_t ReadNumberSetting(const SettingsBackend& backend, std::uint32_t id,
                                std::uint32_t fallback);
bool WriteNumberSetting(const SettingsBackend& backend, std::uint32_t id, std::uint32_t value);

} // namespace keywright
