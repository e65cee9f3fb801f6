// Ctrl+C as the command line's Esc: a flag that the interrupt sets and the run reads.
#pragma once

namespace sorbex {

// From now on the first Ctrl+C (or Ctrl+Break on Windows) only raises the flag; a
// second one ends the program as usual, for a run stuck in a slow read.
void InstallCancelHandler();

bool CancelSignalled();

} // namespace sorbex
