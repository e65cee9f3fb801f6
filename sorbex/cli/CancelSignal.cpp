// Ctrl+C as the command line's Esc: a flag that the interrupt sets and the run reads.
#include "cli/CancelSignal.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#endif

namespace sorbex {
namespace {

// Lock-free, so that a signal handler (or Windows' handler thread) may set it.
std::atomic<bool> cancelSignalled{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the flag is set from a signal handler");

#ifdef _WIN32
BOOL WINAPI OnConsoleControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    // A second interrupt falls through to the default handler, which ends the program.
    return cancelSignalled.exchange(true) ? FALSE : TRUE;
}
#else
extern "C" void OnInterrupt(int) {
    cancelSignalled.store(true);
    std::signal(SIGINT, SIG_DFL);
}
#endif

} // namespace

void InstallCancelHandler() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    std::signal(SIGINT, OnInterrupt);
#endif
}

bool CancelSignalled() {
    return cancelSignalled.load();
}

} // namespace sorbex
