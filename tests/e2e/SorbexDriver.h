// Driving Sorbex.exe from another process as a user would: starting it, finding its
// windows and controls, filling the search page and running a search.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

constexpr DWORD kSorbexStartTimeoutMs = 60000;
constexpr DWORD kSorbexSearchTimeoutMs = 120000;
// Control numbers of Sorbex.exe's windows (its resource headers hold the same).
constexpr int kExpressionField = 1010;
constexpr int kFileMaskField = 1013;
constexpr int kDirectoryField = 1016;
constexpr int kPageRow = 1100;
constexpr int kResultView = 1102;
constexpr WPARAM kStartSearchingCommand = 32815;
constexpr WPARAM kNextFileCommand = 32823;
constexpr WPARAM kOptionsCommand = 32824;
constexpr int kTabLimitField = 1053;
constexpr int kMessageBoxText = 0xFFFF;
constexpr const char* kFrameClass = "SorbexMainFrame";
constexpr const char* kViewerClass = "SorbexFileViewer";

struct Program {
    HANDLE process = nullptr;
    DWORD id = 0;
};

Program StartProgram(const std::string& command);
// The exit code; -2 when the program did not end in time (it is then ended).
int WaitForExit(Program& program, DWORD timeoutMs);

// Where Sorbex.exe keeps its profile: the user's application-data folder, or the
// Windows directory's file where that one exists and can be written.
std::string UserProfilePath();
std::string WindowsProfilePath();
// Deletes both, so that the next start meets the program as a new user does.
void RemoveProfiles();

// Closes the main window and answers No when the program asks about its document
// (a box owned by the main window); true when it asked. Waits for the question or
// for the program's end, whichever comes first.
bool CloseAnsweringNo(const Program& program, HWND frame);

// The visible top-level window of `processId` of the class (owned by `owner` if given).
HWND FindWindowOf(DWORD processId, const char* className, HWND owner = nullptr);
HWND ChildWithId(HWND parent, int id);
void SetText(HWND window, const std::string& text);

// Fills the "Search" page, starts the search and waits for its closing line; the text
// of the result page then, or "" when it did not end in time.
std::string RunSearch(HWND frame, const std::string& expression, const std::string& masks,
                      const std::string& directory);

// The pixels of the window's rectangle as the screen shows it, row by row from the top
// (0x00RRGGBB); empty when the window has no area.
std::vector<DWORD> WindowPixels(HWND window, int& width, int& height);
// Writes the window as the screen shows it to `path` as a binary portable pixmap.
bool SaveWindowPicture(HWND window, const std::string& path);

} // namespace e2e
