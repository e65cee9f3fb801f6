// List view messages behind the value list interface.
#include "host/win32/EditorListView.h"

#include "platform/win32/AnsiText.h"

#include <commctrl.h>

namespace keywright {

namespace {

constexpr int kValueNameText = 256;

} // namespace

int EditorListView::ItemCount() {
    return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

std::string EditorListView::ItemText(int index) {
    wchar_t buffer[kValueNameText] = {};
    LVITEMW item{};
    item.iSubItem = 0;
    item.pszText = buffer;
    item.cchTextMax = kValueNameText;
    SendMessageW(list_, LVM_GETITEMTEXTW, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
    return kestrix::AnsiFromWide(buffer);
}

void EditorListView::SetSelected(int index, bool selected) {
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = selected ? item.stateMask : 0;
    SendMessageW(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));
}

void EditorListView::EnsureVisible(int index) {
    SendMessageW(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), FALSE);
}

} // namespace keywright
