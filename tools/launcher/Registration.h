// Registering kwlaunch as the current user's handler of reg: links.
#pragma once

#include <string>

namespace kwlaunch {

// Writes HKCU\Software\Classes\reg so that opening a reg: link runs this program
// with the link. Returns false with `error` on failure.
bool RegisterUrlHandler(std::string* error);

// Removes that registration if it names this program; another program's is left alone.
bool UnregisterUrlHandler(std::string* error);

} // namespace kwlaunch
