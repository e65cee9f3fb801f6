// What every end-to-end test shares: checks that count failures, paths as Wine shows
// them, the text of another process's windows, and waiting for a condition.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace e2e {

// Prints the outcome of one check; a failed one makes ExitCode() report failure.
void Check(bool ok, const std::string& what);
int ExitCode();

// ctest hands over a path of the build machine; Wine shows its root as drive Z:.
std::string WindowsPath(std::string path);

// The text of a window of any process; empty for no window.
std::string WindowText(HWND window, std::size_t capacity = 1024);

bool EndsWith(const std::string& text, const std::string& end);

// Polls `condition` until it holds or `timeoutMs` has passed.
template <typename Condition> bool WaitFor(DWORD timeoutMs, Condition condition) {
    for (DWORD waited = 0; waited < timeoutMs; waited += 100) {
        if (condition())
            return true;
        Sleep(100);
    }
    return false;
}

} // namespace e2e
