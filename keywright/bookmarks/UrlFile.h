// Bookmark files: the internet-shortcut text that holds a reg: link, finding the link
// in such a text, and the location list that drags, the clipboard and CreateURLFile
// pass around.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace keywright {

constexpr char kUrlFileHeader[] = "[InternetShortcut]\r\n";
constexpr char kUrlLinePrefix[] = "URL=reg:";
// Looked for in an upper-cased copy of the file, so any case matches.
constexpr char kUrlMarker[] = "URL=REG:";
// The buffer a location is read into, with its NUL.
constexpr std::size_t kMaxLocation = 8192;

// The whole file of a bookmark of `location`.
std::string UrlFileText(const std::string& location);

// The location in the text of a bookmark file: what follows the first "URL=REG:" (any
// case) up to the end of its line, at most `capacity` - 1 bytes. Nothing when the
// marker is missing.
std::optional<std::string> LocationInUrlText(const std::string& text,
                                             std::size_t capacity = kMaxLocation);

// A location and, for a dragged bookmark, the file name it had.
struct LocationList {
    std::string location;
    std::string fileName; // empty: none
};

// The location, a NUL, the file name and a NUL when there is one, then a final NUL.
std::string EncodeLocationList(const LocationList& list);

// Reads a list from `size` bytes that may come from another program: everything
// stays within the bytes, and a text without its NUL ends at the end of the bytes.
// Nothing when the location is empty.
std::optional<LocationList> DecodeLocationList(const char* bytes, std::size_t size);

} // namespace keywright
