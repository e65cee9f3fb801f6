// The paths of the running program and of the add-in's help file.
#pragma once

#include <optional>
#include <string>

namespace keywright {

// The full path of the running program (the editor).
std::wstring RunningProgramPath();
// Its file name.
std::wstring RunningProgramName();

// The help file beside keywright.dll; nothing when it cannot be made.
std::optional<std::wstring> AddinHelpPath();

} // namespace keywright
