// The system's dialogs for choosing files and folders, and opening a file with the
// application registered for it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace sorbex {

// The open dialog "Select Files" (10008) with several files selectable and the filters of
// 10009 and 10010, starting in `folder`. The dialog's answer as SplitChosenFiles takes
// it: the folder and the names, or one full path. Empty when cancelled.
std::vector<std::string> ChooseFiles(HWND owner, const std::string& folder);

// The system's folder chooser starting in `folder`; "" when cancelled.
std::string ChooseFolder(HWND owner, const std::string& folder);

// The open or save dialog of result files ("Search Results (*.sbx)"); "" when cancelled.
std::string ChooseResultFile(HWND owner, bool save, const std::string& current);

// Hands the file to the shell's default action with a normal window; the shell's answer
// (above 32 is success).
long OpenWithRegisteredApplication(HWND owner, const std::string& path);

} // namespace sorbex
