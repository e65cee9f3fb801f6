// The file viewer of Sorbex.exe as a user meets it: a search of the sample texts, then
// "N&ext File" (F8) opens the viewer on the first file with its passage selected, and
// "&Next Search Result" (F6) moves the selection; the viewer must be painted, its found
// passages marked, and its print preview must show the text.
#include <windows.h>

#include <richedit.h>

#include <cstdio>
#include <string>

#include "E2eChecks.h"
#include "PaintedCheck.h"
#include "SorbexDriver.h"

namespace {

constexpr const char* kExpression = "colou?r";
constexpr int kViewerText = 1300;
constexpr WPARAM kNextResultCommand = 32821;
constexpr DWORD kMarkColour = 0xFFFF00; // 0x00RRGGBB
constexpr const char* kPreviewClass = "SorbexPrintPreview";
constexpr WPARAM kViewerPreviewCommand = 32903;
constexpr WPARAM kPreviewZoomInCommand = 32916;
// The viewer's text is black; the sheets are white with a slate edge that only the
// preview draws, so black pixels beside that edge are the text on the sheet.
constexpr DWORD kTextColour = 0x000000;
constexpr DWORD kSheetEdgeColour = 0x606070;

// The selected text of another process's RichEdit control, through messages that carry
// no pointers across: the selection's ends, then the control's whole text.
std::string SelectedText(HWND edit) {
    const LRESULT packed = SendMessageA(edit, EM_GETSEL, 0, 0);
    const std::size_t from = LOWORD(packed);
    const std::size_t to = HIWORD(packed);
    // WM_GETTEXT gives CR LF where the control keeps one CR: positions count CR only.
    std::string text = e2e::WindowText(edit, 1 << 20);
    std::string positions;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\n' && i > 0 && text[i - 1] == '\r'))
            positions += text[i];
    return to > from && to <= positions.size() ? positions.substr(from, to - from) : std::string();
}

} // namespace

int main(int argc, char** argv) {
    using namespace e2e;
    if (argc < 3) {
        std::printf("usage: sorbex_viewer_test Sorbex.exe SAMPLES\n");
        return 2;
    }
    const std::string sorbex = WindowsPath(argv[1]);
    const std::string samples = WindowsPath(argv[2]);
    RemoveProfiles();

    Program program = StartProgram("\"" + sorbex + "\"");
    Check(program.process != nullptr, "Sorbex.exe started");
    HWND frame = nullptr;
    WaitFor(kSorbexStartTimeoutMs, [&] { return (frame = FindWindowOf(program.id, kFrameClass)); });
    Check(frame != nullptr, "the main window is up");
    const std::string page = RunSearch(frame, kExpression, "*.txt", samples);
    Check(!page.empty(), "the search ended with its closing line");

    PostMessageA(frame, WM_COMMAND, kNextFileCommand, 0);
    HWND viewer = nullptr;
    WaitFor(kSorbexStartTimeoutMs, [&] {
        viewer = FindWindowOf(program.id, kViewerClass, frame);
        return viewer && EndsWith(WindowText(viewer), ".txt");
    });
    Check(viewer != nullptr, "F8 opened the viewer titled with the file's name: " +
                                 WindowText(viewer));
    const HWND edit = ChildWithId(viewer, kViewerText);
    std::string first;
    WaitFor(kSorbexStartTimeoutMs, [&] {
        first = SelectedText(edit);
        return first == "color" || first == "colour";
    });
    Check(first == "color" || first == "colour", "the first passage is selected: " + first);

    PostMessageA(frame, WM_COMMAND, kNextResultCommand, 0);
    const LRESULT before = SendMessageA(edit, EM_GETSEL, 0, 0);
    std::string second;
    WaitFor(kSorbexStartTimeoutMs, [&] {
        second = SelectedText(edit);
        return SendMessageA(edit, EM_GETSEL, 0, 0) != before &&
               (second == "color" || second == "colour");
    });
    Check(second == "color" || second == "colour", "F6 selected the next passage: " + second);

    // Painted, with the found passages on their yellow background.
    PaintedExpectation marks;
    marks.colours = {kMarkColour};
    std::string seen;
    const bool painted = LooksPainted(viewer, &seen, "sorbex_viewer.bmp", marks);
    Check(painted, "the viewer is painted with its passages marked (" + seen + ")");

    // The print preview of the viewer shows the file's text on its sheet, zoomed in.
    PostMessageA(viewer, WM_COMMAND, kViewerPreviewCommand, 0);
    HWND preview = nullptr;
    WaitFor(kSorbexStartTimeoutMs, [&] {
        preview = FindWindowOf(program.id, kPreviewClass, viewer);
        return preview && IsWindowVisible(preview);
    });
    Check(preview != nullptr, "the viewer's print preview opened");
    if (preview) {
        // Its owner out of the way: what the screenshot shows is the preview's.
        SetWindowPos(viewer, nullptr, -4000, -4000, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(preview, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        PostMessageA(preview, WM_COMMAND, kPreviewZoomInCommand, 0);
        PaintedExpectation text;
        text.colours = {kTextColour, kSheetEdgeColour};
        std::string shown;
        const bool drawn = LooksPainted(preview, &shown, "sorbex_preview.bmp", text);
        Check(drawn, "the preview shows the text on its sheet (" + shown + ")");
    }

    // Closing asks about the new page; No leaves without saving.
    const bool asked = CloseAnsweringNo(program, frame);
    Check(WaitForExit(program, kSorbexStartTimeoutMs) == 0,
          std::string("Sorbex.exe ended") + (asked ? " (asked)" : " (not asked)"));
    return ExitCode();
}
