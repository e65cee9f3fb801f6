// `sorbex cache compact` and `sorbex cache delete`: the converted-document cache's two
// commands, as the windowed program's Cache menu offers them.
#pragma once

#include <ostream>

#include "cli/CliArguments.h"
#include "cli/CliSearchUi.h"
#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"

namespace sorbex {

// Opens the cache where the search would, runs the command and reports on `out`; the
// question before deleting is asked on the terminal, or answered by --yes. Returns
// the exit status: found (done), nothing found (the user said no), or error.
int RunCacheCommand(const CliOptions& options, std::ostream& out, std::ostream& err,
                    const CCliTerminal& terminal, kestrix::FileSystem& fs,
                    kestrix::CompoundFiles& files);

} // namespace sorbex
