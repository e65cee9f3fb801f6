// Ctrl+C as the command line's Esc: a flag that the interrupt sets and the run reads.
#pragma once

namespace sorbex {

// From now on the first Ctrl+C (or Ctrl+Break on Windows; elsewhere also a request to
// terminate or a hang-up) only raises the flag, so that the run stops between two files
// and leaves nothing half-written; a second one ends the program as usual, for a run
// stuck in a slow read.
void InstallCancelHandler();

bool CancelSignalled();

// Waits until standard input has something to read; false when Ctrl+C (or a request to
// terminate) comes first. Where the system's own read ends at Ctrl+C, returns at once.
bool WaitForAnswer();

} // namespace sorbex
