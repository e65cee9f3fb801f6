// The editable drop-down lists of the definition pages: their history entries, their
// text and selection as the portable rules take them.
#pragma once

#include <windows.h>

#include <string>

#include "app/History.h"
#include "app/InsertMenus.h"

namespace sorbex {

// Fills the list from the history and shows its first entry.
void FillFromHistory(HWND combo, const CHistoryList& history);
// Takes the steps that adding `text` to the history took.
void FollowHistoryChange(HWND combo, const CHistoryChange& change, const std::string& text);

std::string FieldText(HWND combo);
// The text with its selection (a drop-down list keeps its edit field's selection when
// the focus moves to a button).
CEditState FieldState(HWND combo);
// Sets text and selection, and gives the field the focus.
void SetFieldState(HWND combo, const CEditState& state);

} // namespace sorbex
