// The menus of the definition pages that insert operators, escaped characters and file
// masks at the caret.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace sorbex {

enum class CInsertMenuKind { Operator, Character, FileName };

struct CInsertItem {
    const char* caption; // null: a separator
    const char* text;    // what the item inserts, in Windows-1252
    int caret;           // where the caret goes within the inserted text; -1: after it
    bool phonetic;       // offered with the phonetic method as well
};

// One line of a menu as offered: the item's place in its table (so that a command
// number can name it) and the item, or a separator.
struct CInsertMenuEntry {
    std::size_t index;
    const CInsertItem* item;
    bool separator() const { return item->caption == nullptr; }
};

// The items of a menu for the chosen method, separators included where both of
// their neighbours stay.
std::vector<CInsertMenuEntry> InsertMenuLines(CInsertMenuKind kind, bool phonetic);
// The item at `index` of a menu's table; null when there is none or it is a separator.
const CInsertItem* InsertMenuChoice(CInsertMenuKind kind, std::size_t index);
std::size_t InsertMenuTableSize(CInsertMenuKind kind);

// An edit field's text with its selection (start <= end).
struct CEditState {
    std::string text;
    std::size_t selStart = 0;
    std::size_t selEnd = 0;
};

// Replaces the selection by `inserted` and puts the caret `caret` characters into it
// (-1: after it), with nothing selected.
CEditState InsertAtSelection(const CEditState& edit, const std::string& inserted, int caret);

} // namespace sorbex
