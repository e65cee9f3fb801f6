// Ctrl+C as the command line's Esc: a flag that the interrupt sets and the run reads.
#include "cli/CancelSignal.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <initializer_list>
#include <poll.h>
#include <unistd.h>
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
// Written to by the handler, so that a wait for the terminal wakes at once.
int wakeUp[2] = {-1, -1};

extern "C" void OnInterrupt(int) {
    const int saved = errno;
    cancelSignalled.store(true);
    if (wakeUp[1] >= 0) {
        const char byte = 1;
        const ssize_t written = ::write(wakeUp[1], &byte, 1);
        static_cast<void>(written);
    }
    errno = saved;
}
#endif

} // namespace

void InstallCancelHandler() {
#ifdef _WIN32
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
#else
    if (::pipe(wakeUp) == 0) {
        for (int fd : wakeUp) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
        }
    }
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // The second signal finds the default action again and ends the program.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int signal : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(signal, &action, nullptr);
#endif
}

bool WaitForAnswer() {
#ifdef _WIN32
    // The console's read returns empty at Ctrl+C; the flag says why.
    return !cancelSignalled.load();
#else
    struct pollfd waits[2] = {{STDIN_FILENO, POLLIN, 0}, {wakeUp[0], POLLIN, 0}};
    while (!cancelSignalled.load()) {
        const int ready = ::poll(waits, wakeUp[0] >= 0 ? 2 : 1, -1);
        if (ready < 0 && errno != EINTR)
            return true; // the read itself will tell
        if (ready > 0 && waits[0].revents != 0)
            return !cancelSignalled.load();
    }
    return false;
#endif
}

bool CancelSignalled() {
    return cancelSignalled.load();
}

} // namespace sorbex
