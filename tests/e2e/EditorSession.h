// What the end-to-end tests of keywright share: running kwlaunch, the add-in's debug
// log, and the registry editor that kwlaunch starts and the test closes again.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "E2eChecks.h"

namespace e2e {

constexpr DWORD kLaunchTimeoutMs = 60000;

// Runs kwlaunch and waits for it: its exit code, -1 when it did not start and -2
// when it did not end in time (it is then ended).
int RunLauncher(const std::string& launcher, const std::string& arguments = "");

// What the add-in's debug window has logged so far.
std::string DebugLogText();

// The registry editor with keywright attached, as kwlaunch leaves it.
class EditorSession {
public:
    EditorSession() = default;
    ~EditorSession();
    EditorSession(const EditorSession&) = delete;
    EditorSession& operator=(const EditorSession&) = delete;

    // Runs kwlaunch without arguments and finds the editor's frame; false, with the
    // failure checked, when there is none.
    bool Start(const std::string& launcher);
    // Closes the editor and checks that this ends its process; one that does not end
    // is ended, so that the next test finds no editor.
    void Close(DWORD timeoutMs);

    HWND frame() const { return frame_; }
    DWORD processId() const { return processId_; }

private:
    HWND frame_ = nullptr;
    DWORD processId_ = 0;
    HANDLE process_ = nullptr;
};

} // namespace e2e
