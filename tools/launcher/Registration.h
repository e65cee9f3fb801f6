// Registering kwlaunch as the current user's handler of reg: links.
#pragma once

#include <string>

namespace kwlaunch {

// Writes HKCU\Software\Classes\reg so that opening a reg: link, or a bookmark file
// that holds one, runs this program with the link; where the shell does not see the
// user's classes, the same keys go under HKEY_CLASSES_ROOT\reg as well. Returns false
// with `error` on failure.
bool RegisterUrlHandler(std::string* error);

// Removes those registrations that name this program; another program's is left alone
// and reported.
bool UnregisterUrlHandler(std::string* error);

} // namespace kwlaunch
