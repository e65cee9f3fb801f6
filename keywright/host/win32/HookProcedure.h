// The hook procedure that takes over the editor's message loop on its first call, and
// what that loop serves: the modeless windows and the accelerators.
#pragma once

#include "platform/win32/ui/Dialog.h"
#include "platform/win32/ui/ModelessWindowList.h"

#include <cstddef>
#include <memory>

#include <windows.h>

namespace keywright {

// The most modeless windows the loop serves; a further one is not entered.
constexpr std::size_t kMaxModelessWindows = 100;

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

// The modeless windows whose dialog keys the loop handles, in registration order.
kestrix::ui::ModelessWindowList& ModelessWindows();

// Opens one of the add-in's modeless windows from its dialog template, on the desktop
// and served by the loop, and shows it with `showCommand`; null when it could not be
// made.
HWND OpenModelessWindow(std::unique_ptr<kestrix::ui::Dialog> window, int templateId,
                        int showCommand = SW_SHOW);

// Off while a label edit runs in the editor, so that its keys reach the edit box.
void EnableAccelerators(bool enabled);

// The editor's own table and the main window that the add-in's and the editor's
// accelerators go to; set at attach, null at detach (no accelerators then).
void UseEditorAccelerators(HWND frame, HACCEL editorTable);

} // namespace keywright
