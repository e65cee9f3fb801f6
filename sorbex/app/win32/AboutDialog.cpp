// The about box.
#include "app/win32/AboutDialog.h"

#include "app/win32/AboutDialogIds.h"
#include "platform/win32/ui/Dialog.h"

namespace sorbex {
namespace {

// The template says everything; OK and Cancel end it.
class CAboutDialog : public kestrix::ui::Dialog {};

} // namespace

void RunAboutDialog(HINSTANCE instance, HWND owner) {
    CAboutDialog dialog;
    dialog.RunModal(instance, IDD_ABOUT, owner);
}

} // namespace sorbex
