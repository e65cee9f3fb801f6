// The locations the editor's tree and list give to bookmarks and drags: the key of a
// tree item, the current key, and the selected value.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>

namespace keywright {

// The encoded full key path of `item`; nothing (message 2094 shown when it is too
// long) when there is none.
std::optional<std::string> KeyLocationOfItem(HTREEITEM item);

// The value location of the list's first selected value, or of its selection mark;
// nothing when there is none.
std::optional<std::string> SelectedValueLocation();

// What command 3016 bookmarks: the selected value while the list has the focus,
// else the current key.
std::optional<std::string> CurrentBookmarkLocation();

// A drag of a key out of the editor's tree, and of the selected value out of its list.
void DragKeyOfItem(HTREEITEM item);
void DragSelectedValue();

// Command 3016: a bookmark of the current location in the top bookmark folder.
void CreateBookmarkOfCurrentLocation();

} // namespace keywright
