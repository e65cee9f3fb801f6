// Real mouse input for the end-to-end tests: xdotool moves the X pointer of the private
// display, which Wine's windows take as the user's mouse; and the screen points of
// tree items of another process, found with messages that carry no pointers.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

namespace e2e {

// Starts xdotool with `arguments` on the test's display. Wine gives no exit code for
// a program of the host system, so callers wait for what the input brings about.
bool Xdotool(const std::string& arguments);

// Presses the left button at `from`, moves in steps to `to` and releases it there.
bool DragWithMouse(POINT from, POINT to);

// The screen point in the middle of the start of the label of `item` of the tree
// view `tree`, which must be visible; nothing when it is not.
bool TreeItemPoint(HWND tree, HTREEITEM item, POINT* point);

// The tree's caret item.
HTREEITEM TreeCaret(HWND tree);

} // namespace e2e
