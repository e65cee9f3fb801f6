// Splitting and decoding the launcher's shared location text.
#include "host/LauncherLocation.h"

#include "host/LocationEncoding.h"

namespace keywright {

LauncherLocation ParseLauncherText(const std::string& shared) {
    LauncherLocation result;
    std::string text = shared.substr(0, shared.find('\0'));
    if (text.size() >= kLauncherTextSize)
        text.resize(kLauncherTextSize - 1);
    if (text.empty()) {
        result.action = LauncherLocation::kRestoreLast;
        return result;
    }
    if (text.size() < 5)
        return result;

    std::size_t colon = text.rfind(':');
    if (colon != std::string::npos && colon >= 4) {
        result.key = text.substr(0, colon);
        result.value = text.substr(colon + 1);
    } else {
        result.key = text;
    }
    DecodeSpecialChars(result.key);
    DecodeSpecialChars(result.value);
    result.key = ReplaceSpaceEscape(result.key);
    result.value = ReplaceSpaceEscape(result.value);
    result.action = LauncherLocation::kGoto;
    return result;
}

} // namespace keywright
