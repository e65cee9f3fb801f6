// Real mouse input under Xvfb and the screen points of another process's tree items.
#include "MouseInput.h"

#include <cstdio>

namespace e2e {

namespace {

constexpr char kXdotool[] = "Z:\\usr\\bin\\xdotool";
// The label begins after the item's image.
constexpr int kImageWidth = 16;
constexpr int kIntoLabel = 8;

LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result);
    return static_cast<LRESULT>(result);
}

HTREEITEM Next(HWND tree, UINT relation, HTREEITEM item) {
    return reinterpret_cast<HTREEITEM>(
        Send(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

// A program of the host system, started without waiting for it.
bool HostProgram(std::string command) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

bool Xdotool(const std::string& arguments) {
    return HostProgram(std::string(kXdotool) + " " + arguments);
}

bool DragWithMouse(POINT from, POINT to) {
    // Steps with short pauses: the tree view starts a drag only after the pointer has
    // moved with the button down, and OLE follows the pointer by its own timer.
    char text[512];
    std::snprintf(text, sizeof text,
                  "mousemove %ld %ld sleep 0.3 mousedown 1 sleep 0.3 mousemove %ld %ld sleep 0.3 "
                  "mousemove %ld %ld sleep 0.3 mousemove %ld %ld sleep 0.5 mousemove %ld %ld "
                  "sleep 0.5 mouseup 1",
                  from.x, from.y, from.x + 6, from.y + 6, (from.x + to.x) / 2, (from.y + to.y) / 2,
                  to.x - 2, to.y - 1, to.x, to.y);
    return Xdotool(text);
}

HTREEITEM TreeCaret(HWND tree) {
    return Next(tree, TVGN_CARET, nullptr);
}

bool TreeItemPoint(HWND tree, HTREEITEM item, POINT* point) {
    int row = 0;
    HTREEITEM visible = Next(tree, TVGN_FIRSTVISIBLE, nullptr);
    for (; visible && visible != item; ++row)
        visible = Next(tree, TVGN_NEXTVISIBLE, visible);
    if (!visible)
        return false;
    int level = 0;
    for (HTREEITEM parent = Next(tree, TVGN_PARENT, item); parent;
         parent = Next(tree, TVGN_PARENT, parent))
        ++level;
    int height = static_cast<int>(Send(tree, TVM_GETITEMHEIGHT));
    int indent = static_cast<int>(Send(tree, TVM_GETINDENT));
    LONG_PTR style = GetWindowLongPtrA(tree, GWL_STYLE);
    int levels = level + ((style & TVS_LINESATROOT) ? 1 : 0);
    point->x = levels * indent + kImageWidth + kIntoLabel;
    point->y = row * height + height / 2;
    return ClientToScreen(tree, point) != FALSE;
}

} // namespace e2e
