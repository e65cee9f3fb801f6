// Building, extending and splitting full key paths.
#include "host/KeyPath.h"

#include "host/RootKeys.h"
#include "strings/KeywrightStrings.h"

namespace keywright {

std::string FullKeyPathFromItemTexts(const std::vector<std::string>& upward) {
    std::string path;
    for (const std::string& text : upward) {
        std::string part = text.substr(0, kMaxItemText);
        path = path.empty() ? part : part + "\\" + path;
    }
    return path;
}

std::string ValueLocation(const std::string& fullKeyPath, const std::string& valueName) {
    return EncodeSpecialChars(fullKeyPath) + ":" + EncodeSpecialChars(valueName);
}

std::optional<std::string> ValueLocation(const std::string& fullKeyPath,
                                         const std::string& valueName, std::size_t capacity,
                                         const ShowText& show) {
    std::string location = ValueLocation(fullKeyPath, valueName);
    if (location.size() + 1 > capacity) {
        if (show)
            show(KeywrightString(kStrEncodeBufferTooSmall));
        return std::nullopt;
    }
    return location;
}

KeyPathParts SplitKeyPath(const std::string& fullKeyPath) {
    KeyPathParts parts;
    std::size_t first = fullKeyPath.find('\\');
    parts.computer = fullKeyPath.substr(0, first);
    if (first == std::string::npos)
        return parts;
    std::size_t second = fullKeyPath.find('\\', first + 1);
    parts.rootName = fullKeyPath.substr(
        first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
    if (const RootKey* root = RootKeyByFullName(parts.rootName))
        parts.root = root->handle;
    if (second != std::string::npos)
        parts.subkey = fullKeyPath.substr(second + 1);
    return parts;
}

} // namespace keywright
