// A compound-file tree written as one line of text, to build a tree in a few words
// and to compare trees in tests and in the cross-system file check:
// "Name=bytes;Sub/Inner=bytes;Sub/Empty/;" (a trailing slash is an empty storage).
#pragma once

#include "platform/CompoundStorage.h"

#include <set>
#include <string>

namespace kestrix {
namespace testtree {

// Creates (or replaces) every element of `tree` in `storage`. Stream bytes are taken
// as they stand, except that "\xHH" stands for the byte HH.
OsError Build(Storage& storage, const std::string& tree);

// Every stream and every empty storage, sorted, in the form Build takes; bytes that
// are not printable ASCII, ';' and '\' are written as "\xHH". Storages named in
// `closed` are listed without their content (they are open elsewhere).
std::string Dump(Storage& storage, const std::set<std::string>& closed = {});

} // namespace testtree
} // namespace kestrix
