// `sorbex undo [--list]`: puts back the files of the last replacement from the undo journal.
#pragma once

#include <ostream>
#include <string>

#include "cli/CliArguments.h"
#include "platform/FileSystem.h"

namespace sorbex {

// Puts back (or with --list names) the files of the newest walk in the journal at
// `folder`. Returns 0 when every file of the walk is back (with --list: when something
// would be put back), 1 when there is nothing to undo, 2 when a file could not be put
// back or was changed since the replacement (each named on `err`).
int RunUndoCommand(const CliOptions& options, std::ostream& out, std::ostream& err,
                   kestrix::FileSystem& fs, const std::string& folder);

} // namespace sorbex
