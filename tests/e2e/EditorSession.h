// What the end-to-end tests of keywright share: running kwlaunch, the editor's status
// bar, message boxes and dialogs, the add-in's debug log, and
// the registry editor that kwlaunch starts and the test closes again.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <cstddef>
#include <string>

#include "E2eChecks.h"

namespace e2e {

constexpr DWORD kLaunchTimeoutMs = 60000;

// Runs kwlaunch and waits for it: its exit code, -1 when it did not start and -2
// when it did not end in time (it is then ended).
int RunLauncher(const std::string& launcher, const std::string& arguments = "");

constexpr DWORD kStatusTimeoutMs = 30000;

// The text of the editor's status bar.
std::string StatusText(HWND frame);

// Waits until the status bar's text ends with `end`; `last` gets what it showed last.
bool WaitForStatusEnding(HWND frame, const std::string& end, std::string* last);

// Checks that the status bar comes to end with `end`, and reports what it showed.
void ExpectStatus(HWND frame, const std::string& end, const std::string& what);

// Clicks a dialog's button the way the button itself reports a click.
void Press(HWND dialog, int id);

// The first dialog with that caption that `accept` takes; null when none came in time.
template <typename Accept> HWND WaitForDialog(const char* caption, DWORD timeoutMs, Accept accept) {
    HWND found = nullptr;
    WaitFor(timeoutMs, [&] {
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", caption); w;
             w = FindWindowExA(nullptr, w, "#32770", caption))
            if (accept(w)) {
                found = w;
                return true;
            }
        return false;
    });
    return found;
}

// Waits for a message box of `process`, reads its text and closes it; "(no message
// box)" when none came.
std::string TakeMessageBox(DWORD process, DWORD timeoutMs = 30000);

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
