// The open modes of compound files: what they allow, which of them coexist, and
// which the system refuses before it touches a file.
#pragma once

#include "platform/CompoundStorage.h"

#include <string>

namespace kestrix {
namespace compound {

bool ModeReads(unsigned mode);
bool ModeWrites(unsigned mode);
// Whether a new open with `mode` may coexist with an open that used `existing`.
bool ShareCompatible(unsigned existing, unsigned mode);

// kInvalidFlag for a root mode the system refuses, else success.
OsError CheckRootMode(const char* function, const std::string& path, unsigned mode);
// What every Create checks before it looks at the disk: a root mode the system
// accepts, write access, and for a temporary (empty `path`) deletion on release.
OsError CheckCreateMode(const std::string& path, unsigned mode);
// kInvalidFlag unless a sub-element opens exclusively and with a known access value.
OsError CheckElementMode(const std::string& function, const std::string& path, unsigned mode);

} // namespace compound
} // namespace kestrix
