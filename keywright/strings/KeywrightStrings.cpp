// The string table's texts, kept sorted by number so that lookup can bisect.
#include "strings/KeywrightStrings.h"

#include <algorithm>
#include <iterator>

namespace keywright {

namespace {

struct StringEntry {
    unsigned id;
    const char* text;
};

constexpr StringEntry kStrings[] = {
    {kStrEncodeBufferTooSmall, "Buffer too small in function EncodeSpecialChars "},
    {kStrAddinTitle, "Velmara Keywright"},
    {kStrInvalidKey, "Invalid key : %s"},
    {kStrKeyNotFound, "Key not found : %s"},
    {kStrValueNotFound, "Value not found : %s"},
    {kStrDefaultNotFound, "default not found"},
    {kStrSetValueFailed, "Error Setting value in RegSetVal"},
    {kStrNotAvailableYet, "This feature is not available yet."},
    {kStrAboutVersion, "Version %s"},
    {3016, "Create a new bookmark"},
    {3017, "Create a new bookmark folder"},
    {3018, "Search the registry"},
    {3019, "Search and replace data in the registry"},
    {3020, "Preview a registry file"},
    {3021, "Send subkey through email"},
    {3023, "Help for Keywright"},
    {3024, "About Keywright"},
};

constexpr bool IsSortedAndUnique() {
    for (std::size_t i = 1; i < std::size(kStrings); ++i)
        if (kStrings[i - 1].id >= kStrings[i].id)
            return false;
    return true;
}
static_assert(IsSortedAndUnique(), "string table must stay sorted by number, without repeats");

} // namespace

const char* KeywrightString(unsigned id) {
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                               [](const StringEntry& e, unsigned n) { return e.id < n; });
    return it != std::end(kStrings) && it->id == id ? it->text : nullptr;
}

} // namespace keywright

namespace keywright {

std::string KeywrightStringWith(unsigned id, const std::string& insert) {
    const char* text = KeywrightString(id);
    if (text == nullptr)
        return insert;
    std::string result = text;
    std::size_t at = result.find("%s");
    if (at != std::string::npos)
        result.replace(at, 2, insert);
    return result;
}

} // namespace keywright
