// Resolution of "reg:" locations and root abbreviations.
#include "host/RegLocation.h"

#include "host/AsciiCase.h"
#include "host/RootKeys.h"

namespace keywright {

ResolvedLocation ResolveLocation(const std::string& location, const std::string& rootText) {
    ResolvedLocation result;
    std::string text = location;
    if (StartsWithNoCase(text, "reg:"))
        text.erase(0, 4);
    text.erase(0, text.find_first_not_of("\\/\"")); // all of it when nothing else

    if (StartsWithNoCase(text, "hkey")) {
        result.path = rootText + "\\" + text;
    } else if (StartsWithNoCase(text, "hk")) {
        std::size_t separator = text.find_first_of("\\/");
        result.abbreviation = text.substr(0, separator);
        const RootKey* root = RootKeyByAbbreviation(result.abbreviation);
        if (root == nullptr) {
            result.valid = false;
            return result;
        }
        result.fullName = root->fullName;
        result.path = rootText + "\\" + result.fullName;
        if (separator != std::string::npos && separator + 1 < text.size())
            result.path += "\\" + text.substr(separator + 1);
    } else {
        result.path = text;
    }
    return result;
}

} // namespace keywright
