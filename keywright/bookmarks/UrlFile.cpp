// Bookmark file text and the location list.
#include "bookmarks/UrlFile.h"

#include "host/AsciiCase.h"

#include <algorithm>
#include <cstring>

namespace keywright {

std::string UrlFileText(const std::string& location) {
    return std::string(kUrlFileHeader) + kUrlLinePrefix + location + "\r\n";
}

std::optional<std::string> LocationInUrlText(const std::string& text, std::size_t capacity) {
    std::string upper = text;
    std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpper);
    std::size_t marker = upper.find(kUrlMarker);
    if (marker == std::string::npos)
        return std::nullopt;
    std::size_t begin = marker + std::strlen(kUrlMarker);
    // The link ends with its line: shortcuts written by other programs go on with
    // further lines that are no part of it.
    std::size_t end = text.find_first_of("\r\n", begin);
    std::string location = text.substr(begin, end == std::string::npos ? end : end - begin);
    if (capacity > 0 && location.size() > capacity - 1)
        location.resize(capacity - 1);
    return location;
}

std::string EncodeLocationList(const LocationList& list) {
    std::string bytes = list.location;
    bytes += '\0';
    if (!list.fileName.empty()) {
        bytes += list.fileName;
        bytes += '\0';
    }
    bytes += '\0';
    return bytes;
}

std::optional<LocationList> DecodeLocationList(const char* bytes, std::size_t size) {
    auto text = [&](std::size_t from, std::size_t* next) {
        const char* begin = bytes + from;
        const char* end = std::find(begin, bytes + size, '\0');
        *next = static_cast<std::size_t>(end - bytes) + 1;
        return std::string(begin, end);
    };
    if (!bytes || size == 0)
        return std::nullopt;
    LocationList list;
    std::size_t next = 0;
    list.location = text(0, &next);
    if (next < size)
        list.fileName = text(next, &next);
    if (list.location.empty())
        return std::nullopt;
    return list;
}

} // namespace keywright
