// What every end-to-end test shares: checks that count failures, paths as Wine shows
// them, the text of another process's windows, waiting for a condition, and the files
// and registry keys a test reads or clears.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>

namespace e2e {

// Prints the outcome of one check; a failed one makes ExitCode() report failure.
void Check(bool ok, const std::string& what);
int ExitCode();

// ctest hands over a path of the build machine; Wine shows its root as drive Z:.
std::string WindowsPath(std::string path);

// The whole content of a file; empty when it cannot be read.
std::string ReadFileBytes(const std::string& path);

// Deletes a registry key with everything below it (the systems this runs on have no
// call for that); false when a key stays, and then no more is tried.
bool DeleteKeyTree(HKEY parent, const std::string& name);

// The text of a window of any process; empty for no window.
std::string WindowText(HWND window, std::size_t capacity = 1024);

bool EndsWith(const std::string& text, const std::string& end);

// The class name of a window of any process.
std::string ClassName(HWND window);

// The first visible top-level window of `process` that `accept` takes; null for none.
HWND FindTopWindow(DWORD process, const std::function<bool(HWND)>& accept);

// How often WaitFor asks its condition again.
constexpr DWORD kPollMs = 100;

// Gives the calling thread's own windows their messages for up to `ms` milliseconds, or
// less when a message arrives: a test that owns a window, a clipboard or an OLE drop
// keeps answering the program under test while it waits on it.
void PumpMessagesFor(DWORD ms);

// Asks `condition` until it holds or `timeoutMs` has passed by the clock. The program
// under test is another process, with no event to wait on; between two questions the
// thread's own messages are dispatched.
template <typename Condition> bool WaitFor(DWORD timeoutMs, Condition condition) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        const DWORD waited = GetTickCount() - start; // unsigned: right across the wrap
        if (waited >= timeoutMs)
            return false;
        PumpMessagesFor(std::min<DWORD>(timeoutMs - waited, kPollMs));
    }
}

} // namespace e2e
