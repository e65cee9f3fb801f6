// The menus of the definition pages that insert operators, escaped characters and file
// masks at the caret.
#include "app/InsertMenus.h"

#include <algorithm>
#include <iterator>

namespace sorbex {
namespace {

constexpr CInsertItem kSeparator = {nullptr, nullptr, 0, false};

// The phonetic method knows only and, distance, not and grouping.
constexpr CInsertItem kOperatorItems[] = {
    {"&And", "&", 1, true},
    {"&Separated by max. n Characters", "&", 1, true},
    {"&Or", "|", 1, false},
    {"&Not", "!", 1, true},
    kSeparator,
    {"&Subexpression", "()", 1, true},
    kSeparator,
    {"Character &Range z1 to z2", "[-]", 1, false},
    {"Character &List z1,z2,z3...", "[]", 1, false},
    {"Character &not in List", "[^]", 2, false},
    {"&Any Character", ".", 1, false},
    kSeparator,
    {"Line &Start", "^", 1, false},
    {"Line &End", "$", 1, false},
    {"&Word Start", "\\<", 2, false},
    {"W&ord End", "\\>", 2, false},
    kSeparator,
    {"&Repeat Subexpression n", "\\", 1, false},
    {"&0 or more Matches", "*", 1, false},
    {"&1 or more Matches", "+", 1, false},
    {"0 or 1 &Matches", "?", 1, false},
    {"E&xactly n Matches", "{}", 1, false},
    {"Min. n, Max m Matches", "{,}", 1, false},
};

// The letters include the umlauts and sharp s of Windows-1252.
constexpr CInsertItem kCharacterItems[] = {
    {"&Character", "[a-zA-Z\xE4\xF6\xFC\xC4\xD6\xDC\xDF]", 15, false},
    {"&Number", "[0-9]", 5, false},
    {"&Alpha Numeric",
     "[a-zA-Z\xE4\xF6\xFC\xC4\xD6\xDC\xDF"
     "0-9]",
     18, false},
    kSeparator,
    {"&&", "\\&", 2, true},
    {"|", "\\|", 2, false},
    {"!", "\\!", 2, true},
    {".", "\\.", 2, false},
    {"[", "\\[", 2, false},
    {"]", "\\]", 2, false},
    {"(", "\\(", 2, true},
    {")", "\\)", 2, true},
    {"{", "\\{", 2, false},
    {"}", "\\}", 2, false},
    {"^", "\\^", 2, false},
    {"$", "\\$", 2, false},
    {"\\", "\\\\", 2, false},
    {"*", "\\*", 2, false},
    {"+", "\\+", 2, false},
    {"?", "\\?", 2, false},
};

constexpr CInsertItem kFileNameItems[] = {
    {"Any &Character", "?", -1, true},
    {"Any &String", "*", -1, true},
    {"&Next File Name", " | ", -1, true},
    kSeparator,
    {"HTML File", "*.htm | *.html", -1, true},
    {"&Text File", "*.txt", -1, true},
    {"&C-Source", "*.c | *.cpp | *.h | *.inl | *.def | *.rc", -1, true},
};

struct Table {
    const CInsertItem* items;
    std::size_t size;
};

Table TableOf(CInsertMenuKind kind) {
    switch (kind) {
    case CInsertMenuKind::Operator:
        return {kOperatorItems, std::size(kOperatorItems)};
    case CInsertMenuKind::Character:
        return {kCharacterItems, std::size(kCharacterItems)};
    case CInsertMenuKind::FileName:
        break;
    }
    return {kFileNameItems, std::size(kFileNameItems)};
}

} // namespace

std::vector<CInsertMenuEntry> InsertMenuLines(CInsertMenuKind kind, bool phonetic) {
    const Table table = TableOf(kind);
    // File masks mean the same whatever the search method.
    if (kind == CInsertMenuKind::FileName)
        phonetic = false;
    std::vector<CInsertMenuEntry> menu;
    bool separatorPending = false;
    for (std::size_t i = 0; i < table.size; ++i) {
        const CInsertItem& item = table.items[i];
        if (item.caption == nullptr) {
            separatorPending = !menu.empty();
            continue;
        }
        if (phonetic && !item.phonetic)
            continue;
        // With the phonetic method the menus are short lists without groups.
        if (separatorPending && !phonetic)
            menu.push_back({i - 1, &kSeparator});
        separatorPending = false;
        menu.push_back({i, &item});
    }
    return menu;
}

const CInsertItem* InsertMenuChoice(CInsertMenuKind kind, std::size_t index) {
    const Table table = TableOf(kind);
    if (index >= table.size || table.items[index].caption == nullptr)
        return nullptr;
    return &table.items[index];
}

std::size_t InsertMenuTableSize(CInsertMenuKind kind) {
    return TableOf(kind).size;
}

CEditState InsertAtSelection(const CEditState& edit, const std::string& inserted, int caret) {
    const std::size_t start = std::min({edit.selStart, edit.selEnd, edit.text.size()});
    const std::size_t end = std::min(std::max(edit.selStart, edit.selEnd), edit.text.size());
    CEditState result;
    result.text = edit.text.substr(0, start) + inserted + edit.text.substr(end);
    const std::size_t offset =
        caret < 0 ? inserted.size() : std::min(static_cast<std::size_t>(caret), inserted.size());
    result.selStart = result.selEnd = start + offset;
    return result;
}

} // namespace sorbex
