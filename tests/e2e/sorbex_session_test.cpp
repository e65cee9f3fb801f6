// Sorbex.exe as a user meets it: a fresh profile, a result file made by the command line
// opened from the command line, a search of the sample texts, the question before
// closing, then a second start that loads the last document by itself. The profile
// must hold the history and the window's place, and the window must be painted. The
// options dialog, opened from the menu between the search and the close, must be
// painted too, and its Cancel button must leave the profile as it was.
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "E2eChecks.h"
#include "PaintedCheck.h"
#include "SorbexDriver.h"

namespace {

constexpr const char* kExpression = "colou?r";
constexpr const char* kOptionsCaption = "Options";
constexpr const char* kChangedTabLimit = "7";

std::string ProfileValue(const std::string& path, const char* section, const char* key) {
    char value[1024] = {};
    GetPrivateProfileStringA(section, key, "<missing>", value, sizeof value, path.c_str());
    return value;
}

// The file's bytes; empty when it cannot be read.
std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace

int main(int argc, char** argv) {
    using namespace e2e;
    if (argc < 4) {
        std::printf("usage: sorbex_session_test Sorbex.exe sorbexc.exe SAMPLES\n");
        return 2;
    }
    const std::string sorbex = WindowsPath(argv[1]);
    const std::string cli = WindowsPath(argv[2]);
    const std::string samples = WindowsPath(argv[3]);
    const std::string profile = UserProfilePath();
    RemoveProfiles();
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string results = std::string(temp) + "sorbex-e2e-session.sbx";
    DeleteFileA(results.c_str());

    // A result file with one page, made by the command line.
    Program made = StartProgram("\"" + cli + "\" list -d \"" + samples + "\" -m *.c --save=\"" +
                                results + "\"");
    Check(made.process && WaitForExit(made, kSorbexStartTimeoutMs) == 0,
          "the command line made a result file");

    // First start: the file named on the command line.
    Program first = StartProgram("\"" + sorbex + "\" \"" + results + "\"");
    Check(first.process != nullptr, "Sorbex.exe started");
    HWND frame = nullptr;
    WaitFor(kSorbexStartTimeoutMs, [&] {
        frame = FindWindowOf(first.id, kFrameClass);
        return frame && WindowText(frame) == "sorbex-e2e-session.sbx - Sorbex";
    });
    Check(frame != nullptr, "the main window is up: " + WindowText(frame));
    const HWND row = ChildWithId(frame, kPageRow);
    const std::string text = RunSearch(frame, kExpression, "*.txt | *.c", samples);
    Check(!text.empty(), "the search ended with its closing line");
    Check(text.find("Passages found") != std::string::npos &&
              text.find("allotment-notes.txt") != std::string::npos,
          "the page shows the header and the files found");
    Check(SendMessageA(row, TCM_GETITEMCOUNT, 0, 0) == 2, "the search added a page");
    std::string seen;
    const bool painted = LooksPainted(frame, &seen, "sorbex_session.bmp");
    Check(painted, "the main window is painted (" + seen + ")");

    // The options dialog from the menu: posted, since the dialog is modal and its loop
    // would hold a sent command until it closes.
    const std::string profileBefore = FileBytes(profile);
    PostMessageA(frame, WM_COMMAND, kOptionsCommand, 0);
    HWND options = nullptr;
    const bool opened = WaitFor(kSorbexStartTimeoutMs, [&] {
        options = FindWindowOf(first.id, "#32770", frame);
        return options && WindowText(options) == kOptionsCaption;
    });
    Check(opened, "the options dialog opened: " + WindowText(options));
    if (opened) {
        std::string shown;
        const bool drawn = LooksPainted(options, &shown, "sorbex_options.bmp");
        Check(drawn, "the options dialog is painted (" + shown + ")");
        // A changed field that Cancel must not keep.
        SetText(GetDlgItem(options, kTabLimitField), kChangedTabLimit);
        PostMessageA(GetDlgItem(options, IDCANCEL), BM_CLICK, 0, 0);
        Check(WaitFor(kSorbexStartTimeoutMs, [&] { return !IsWindow(options); }),
              "Cancel closed the options dialog");
    }
    Check(!profileBefore.empty() && FileBytes(profile) == profileBefore,
          "and left the profile as it was");

    // Closing asks about the changed document; Yes saves it in place.
    PostMessageA(frame, WM_CLOSE, 0, 0);
    HWND box = nullptr;
    WaitFor(kSorbexStartTimeoutMs, [&] { return (box = FindWindowOf(first.id, "#32770", frame)); });
    Check(box && WindowText(GetDlgItem(box, kMessageBoxText)) ==
                     "Save changes to sorbex-e2e-session.sbx?",
          "the question before closing: " + WindowText(GetDlgItem(box, kMessageBoxText)));
    PostMessageA(box, WM_COMMAND, IDYES, 0);
    Check(WaitForExit(first, kSorbexStartTimeoutMs) == 0, "Sorbex.exe ended");

    Check(ProfileValue(profile, "SearchDialog", "SearchExpression1") == kExpression,
          "the profile in the user's folder holds the expression");
    Check(ProfileValue(profile, "SearchDialog", "Directory1") == samples, "and the directory");
    Check(ProfileValue(profile, "Settings", "MainWindowPlacement") != "<missing>",
          "and the window's place: " + ProfileValue(profile, "Settings", "MainWindowPlacement"));
    Check(ProfileValue(profile, "Recent File List", "File1") == results,
          "and the result file as the most recent");

    // Second start, without a file: the last document comes back.
    Program second = StartProgram("\"" + sorbex + "\"");
    frame = nullptr;
    WaitFor(kSorbexStartTimeoutMs, [&] {
        frame = FindWindowOf(second.id, kFrameClass);
        return frame && WindowText(frame) == "sorbex-e2e-session.sbx - Sorbex";
    });
    Check(frame != nullptr, "the second start loaded the last document");
    Check(SendMessageA(ChildWithId(frame, kPageRow), TCM_GETITEMCOUNT, 0, 0) == 2,
          "with both pages");
    PostMessageA(frame, WM_CLOSE, 0, 0);
    Check(WaitForExit(second, kSorbexStartTimeoutMs) == 0, "an unchanged document closes at once");
    DeleteFileA(results.c_str());
    return ExitCode();
}
