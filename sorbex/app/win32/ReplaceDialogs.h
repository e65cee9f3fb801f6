// The replacement's two dialogs: the warning before a walk and the question for each
// passage.
#pragma once

#include <windows.h>

#include <string>

#include "search/ReplaceUi.h"

namespace sorbex {

// Returns the state of "Show this warning no longer".
bool RunReplaceWarning(HINSTANCE instance, HWND owner);

// Yes, No or Cancel with the state of "&Replace All"; Cancel leaves the box's state out.
CReplaceConfirmation RunReplaceConfirmation(HINSTANCE instance, HWND owner,
                                            const std::string& question);

} // namespace sorbex
