// The editable drop-down lists of the definition pages: their history entries, their
// text and selection as the portable rules take them.
#include "app/win32/ComboFields.h"

#include "app/win32/WideText.h"
#include "platform/win32/ui/WindowBase.h"

namespace sorbex {

void FillFromHistory(HWND combo, const CHistoryList& history) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& entry : history.entries())
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(entry).c_str()));
    if (!history.entries().empty())
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

void FollowHistoryChange(HWND combo, const CHistoryChange& change, const std::string& text) {
    if (change.removedAt >= 0)
        SendMessageW(combo, CB_DELETESTRING, static_cast<WPARAM>(change.removedAt), 0);
    if (change.inserted)
        SendMessageW(combo, CB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    // Every text the history keeps is its first entry now, and selected.
    if (!text.empty())
        SendMessageW(combo, CB_SETCURSEL, 0, 0);
}

std::string FieldText(HWND combo) {
    return Narrow(kestrix::ui::WindowText(combo));
}

CEditState FieldState(HWND combo) {
    CEditState state;
    state.text = FieldText(combo);
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(combo, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    state.selStart = start;
    state.selEnd = end;
    return state;
}

void SetFieldState(HWND combo, const CEditState& state) {
    SetWindowTextW(combo, Wide(state.text).c_str());
    SetFocus(combo);
    SendMessageW(combo, CB_SETEDITSEL, 0, MAKELPARAM(state.selStart, state.selEnd));
}

} // namespace sorbex
