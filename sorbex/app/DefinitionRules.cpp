// The rules of the definition pages that need no window: the search method's effect on
// "&Case sensitive", and what the file and directory choosers put into their fields.
#include "app/DefinitionRules.h"

#include "search/NameCase.h"
#include "search/SplitList.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr const char* kListSeparator = " | ";

bool IsDirectorySeparator(char c) {
    return c == '\\' || c == '/';
}

std::string WithBackslash(std::string directory) {
    if (!directory.empty() && !IsDirectorySeparator(directory.back()))
        directory += '\\';
    return directory;
}


// Appends to a field without selection that holds text; otherwise replaces its text.
CEditState AppendOrReplace(const CEditState& field, const std::string& text) {
    CEditState result;
    const bool hasSelection = field.selStart != field.selEnd;
    result.text = !hasSelection && !field.text.empty() ? field.text + kListSeparator + text : text;
    result.selStart = result.selEnd = result.text.size();
    return result;
}

std::pair<std::string, std::string> FilterPair(unsigned id) {
    const std::string text = SorbexString(id);
    const std::size_t bar = text.find('|');
    if (bar == std::string::npos)
        return {text, text};
    return {text.substr(0, bar), text.substr(bar + 1)};
}

} // namespace

bool CaseSensitiveEnabled(int searchMethod) {
    return searchMethod != kMethodPhonetic;
}

std::string LastDirectory(const std::string& directoryField) {
    const std::vector<std::string> parts = SplitList(directoryField);
    if (parts.empty())
        return std::string();
    return WithBackslash(parts.back());
}

CEditState ApplyChosenFiles(const CEditState& maskField, const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : kListSeparator) + name;
    return AppendOrReplace(maskField, joined);
}

bool ChosenFolderDiffers(const std::string& folder, const std::string& directoryField) {
    return !SameNameIgnoringCase(WithBackslash(folder), LastDirectory(directoryField));
}

CEditState ApplyChosenFolder(const CEditState& directoryField, const std::string& folder) {
    return AppendOrReplace(directoryField, folder);
}

CChosenFiles SplitChosenFiles(const std::vector<std::string>& parts) {
    CChosenFiles chosen;
    if (parts.empty())
        return chosen;
    if (parts.size() == 1) {
        const std::string& path = parts[0];
        std::size_t slash = path.size();
        while (slash > 0 && !IsDirectorySeparator(path[slash - 1]))
            --slash;
        chosen.folder = path.substr(0, slash > 0 ? slash - 1 : 0);
        // A file in the root keeps the root's backslash ("C:\").
        if (!chosen.folder.empty() && chosen.folder.back() == ':')
            chosen.folder += '\\';
        chosen.names.push_back(path.substr(slash));
        return chosen;
    }
    chosen.folder = parts[0];
    chosen.names.assign(parts.begin() + 1, parts.end());
    return chosen;
}

std::vector<std::pair<std::string, std::string>> FileChooserFilters() {
    return {FilterPair(IDS_FILTER_ALL_FILES), FilterPair(IDS_FILTER_TEXT_FILES)};
}

} // namespace sorbex
