// A dialog's control texts in the code page that the add-in's portable code keeps.
#pragma once

#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Dialog.h"

#include <string>

namespace keywright {

inline std::string ItemAnsiText(const kestrix::ui::Dialog& dialog, int id) {
    return kestrix::AnsiFromWide(dialog.ItemText(id));
}

inline void SetItemAnsiText(const kestrix::ui::Dialog& dialog, int id, const std::string& text) {
    dialog.SetItemText(id, kestrix::WideFromAnsi(text));
}

} // namespace keywright
