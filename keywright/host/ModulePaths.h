// The paths the add-in derives from its own module's and the editor's program path: the
// help file beside the DLL and a program's file name.
#pragma once

#include <optional>
#include <string>

namespace keywright {

// The help path: the module's path upper-cased, with "KEYWRIGHT.DLL" and everything after
// it replaced by "keywright.hlp". Nothing when the name is not in the path.
std::optional<std::string> HelpPathForModule(const std::string& modulePath);

// The part of a path after its last backslash or slash.
std::string FileNameOfPath(const std::string& path);

} // namespace keywright
