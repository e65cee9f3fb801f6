// End to end: the add-in's menu item "About Keywright..." opens the about box over the
// registry editor, modal to its frame, with the add-in's name and the release's version
// painted on the screen; OK closes it and gives the frame back.
//   keywright_about_test PATH_TO_KWLAUNCH
#include <windows.h>

#include <cstdio>
#include <string>

#include "EditorSession.h"
#include "KestrixVersion.h"
#include "PaintedCheck.h"

namespace {

using e2e::Check;

constexpr DWORD kWaitMs = 30000;
constexpr char kCaption[] = "About Keywright";
constexpr char kFirstItemStatus[] = "Create a new bookmark";
constexpr WPARAM kAboutMnemonic = 'a';
constexpr int kIdTitle = 1110;
constexpr int kIdVersion = 1111;

// The version line as the release's numbers make it: the minor number has two digits.
std::string ExpectedVersion() {
    char text[64] = {};
    std::snprintf(text, sizeof text, "Version %d.%02d (build %d)", KESTRIX_VERSION_MAJOR,
                  KESTRIX_VERSION_MINOR, KESTRIX_VERSION_PATCH);
    return text;
}

// Menus belong to their process under Wine, so the item is chosen the way a user does
// with the keyboard: the add-in's menu opens on its mnemonic, which the status bar
// shows by its first item's help, and the item's own mnemonic chooses it.
bool ChooseAboutFromMenu(HWND frame, std::string* status) {
    PostMessageA(frame, WM_SYSCOMMAND, SC_KEYMENU, 'k');
    if (!e2e::WaitForStatusEnding(frame, kFirstItemStatus, status))
        return false;
    PostMessageA(frame, WM_CHAR, kAboutMnemonic, 0);
    return true;
}

HWND WaitForAboutBox(DWORD process) {
    return e2e::WaitForDialog(kCaption, kWaitMs, [&](HWND w) {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        return owner == process && IsWindowVisible(w) && GetDlgItem(w, kIdVersion) != nullptr;
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_about_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    e2e::EditorSession editor;
    if (!editor.Start(e2e::WindowsPath(argv[1])))
        return 1;
    HWND frame = editor.frame();

    std::string status;
    const bool menuOpened = ChooseAboutFromMenu(frame, &status);
    Check(menuOpened, "Alt+K opens the add-in's menu (status: \"" + status + "\")");
    HWND about = menuOpened ? WaitForAboutBox(editor.processId()) : nullptr;
    Check(about != nullptr, "its About item opens the about box");
    if (!about) {
        editor.Close(kWaitMs);
        return 1;
    }

    Check(GetWindow(about, GW_OWNER) == frame, "the box belongs to the editor's frame");
    Check(!IsWindowEnabled(frame), "and is modal: the frame takes no input meanwhile");
    const std::string title = e2e::WindowText(GetDlgItem(about, kIdTitle));
    Check(title == "Velmara Keywright", "it names the add-in (\"" + title + "\")");
    const std::string version = e2e::WindowText(GetDlgItem(about, kIdVersion));
    Check(version == ExpectedVersion(), "it shows the release's version (\"" + version +
                                            "\", expected \"" + ExpectedVersion() + "\")");
    std::string seen;
    const bool painted = e2e::LooksPainted(about, &seen, "keywright_about.bmp");
    Check(painted, "the about box is painted on the screen (" + seen + ")");

    e2e::Press(about, IDOK);
    Check(e2e::WaitFor(kWaitMs, [&] { return !IsWindow(about); }), "OK closes the about box");
    Check(e2e::WaitFor(kWaitMs, [&] { return IsWindowEnabled(frame) != FALSE; }),
          "and the frame takes input again");

    editor.Close(kWaitMs);
    return e2e::ExitCode();
}
