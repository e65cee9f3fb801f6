// Turning a location in "reg:" form into the full key path to look for in the tree.
#pragma once

#include <string>

namespace keywright {

struct ResolvedLocation {
    bool valid = true;        // false: an "hk" abbreviation that the table lacks
    std::string path;         // the full key path, "/" still allowed as separator
    std::string abbreviation; // the abbreviation met, known or not
    std::string fullName;     // its full root name when known
};

// Drops an optional "reg:" and any leading "\", "/" and double quotes, then:
// a full root name ("hkey...") gets the root text in front; an abbreviation
// ("hk...") is expanded to its full name with the root text in front; anything else
// is already a full key path.
ResolvedLocation ResolveLocation(const std::string& location, const std::string& rootText);

} // namespace keywright
