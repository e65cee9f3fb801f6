// The last location kept in the setting UrlMru between runs of the editor.
#include "host/LastLocation.h"

#include "host/LocationEncoding.h"
#include "settings/SettingsStore.h"

#include <vector>

namespace keywright {

int RememberLocation(const SettingsBackend& settings, const std::string& fullKeyPath) {
    if (fullKeyPath.empty())
        return 0;
    std::string encoded = EncodeSpecialChars(fullKeyPath);
    // A path that could not be read back whole is not worth storing.
    if (encoded.size() + 1 > kLastLocationSize)
        return 0;
    return WriteSetting(settings, kSettingUrlMru, encoded.c_str(),
                        static_cast<std::uint32_t>(encoded.size() + 1));
}

std::string RestoreLocation(const SettingsBackend& settings) {
    std::vector<char> buffer(kLastLocationSize, '\0');
    if (!ReadSetting(settings, kSettingUrlMru, buffer.data(),
                     static_cast<std::uint32_t>(buffer.size())))
        return {};
    std::string path(buffer.data());
    DecodeSpecialChars(path);
    return path;
}

} // namespace keywright
