// Path rules of the add-in's help file and message captions.
#include "host/ModulePaths.h"

#include "host/AsciiCase.h"

namespace keywright {

namespace {

constexpr char kModuleName[] = "KEYWRIGHT.DLL";
constexpr char kHelpName[] = "keywright.hlp";

} // namespace

std::optional<std::string> HelpPathForModule(const std::string& modulePath) {
    std::string path = modulePath;
    for (char& c : path)
        c = AsciiUpper(c);
    std::size_t at = path.find(kModuleName);
    if (at == std::string::npos)
        return std::nullopt;
    path.replace(at, std::string::npos, kHelpName);
    return path;
}

std::string FileNameOfPath(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace keywright
