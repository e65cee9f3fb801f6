// The naming rules of bookmark files and folders.
#include "bookmarks/BookmarkNames.h"

#include "host/AsciiCase.h"
#include "platform/FileSystem.h"

#include <cstring>

namespace keywright {

namespace {

bool EndsWithNoCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           EqualsNoCase(std::string_view(text).substr(text.size() - end.size()), end);
}

std::size_t LastSeparator(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (kestrix::IsPathSeparator(path[i - 1]))
            return i - 1;
    return std::string::npos;
}

} // namespace

std::string BookmarkFileName(const std::string& location) {
    // Registry paths separate keys with a backslash on every system.
    std::size_t backslash = location.find('\\');
    std::string name = backslash == std::string::npos ? location : location.substr(backslash + 1);
    for (char& c : name) {
        // Control characters are legal in value names but never in file names.
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr(kForbiddenNameCharacters, c))
            c = '-';
    }
    if (name.size() > kMaxGeneratedStem)
        name.resize(kMaxGeneratedStem);
    return name + kUrlExtension;
}

NameCheck CheckNewName(const std::string& text) {
    if (text.empty())
        return NameCheck::Empty;
    if (text.find_first_of(kForbiddenNameCharacters) != std::string::npos)
        return NameCheck::ForbiddenCharacter;
    return NameCheck::Ok;
}

std::string RenamedFileName(const std::string& text, bool isBookmark) {
    if (!isBookmark || EndsWithNoCase(text, kUrlExtension))
        return text;
    if (!text.empty() && text.back() == '.')
        return text + (kUrlExtension + 1);
    return text + kUrlExtension;
}

std::string BookmarkDisplayText(const std::string& fileName) {
    if (EndsWithNoCase(fileName, kUrlExtension))
        return fileName.substr(0, fileName.size() - std::strlen(kUrlExtension));
    return fileName;
}

std::string FreeFolderName(const std::string& base,
                           const std::function<bool(const std::string& name)>& taken) {
    std::string name = base;
    for (int number = 2; taken(name); ++number) {
        std::string suffix = kFolderNumberFormat;
        suffix.replace(suffix.find("%d"), 2, std::to_string(number));
        name = base + suffix;
    }
    return name;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty() || kestrix::IsPathSeparator(folder.back()))
        return folder + name;
    return folder + kestrix::kPathSeparator + name;
}

std::string LastPathComponent(const std::string& path) {
    std::size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string ReplaceLastComponent(const std::string& path, const std::string& name) {
    std::size_t at = LastSeparator(path);
    return at == std::string::npos ? name : path.substr(0, at + 1) + name;
}

} // namespace keywright
