// Tree view messages behind the key tree interface. The portable navigation works on
// code-page text; the wide texts are converted here.
#include "host/win32/EditorTreeView.h"

#include "host/KeyPath.h"
#include "platform/win32/AnsiText.h"

#include <vector>

namespace keywright {

namespace {

constexpr int kKeyNameText = 255; // a key name, as navigation compares it
constexpr int kRootText = 128;    // the root item's text

HTREEITEM AsItem(TreeItem item) {
    return reinterpret_cast<HTREEITEM>(item);
}

TreeItem Next(HWND tree, UINT relation, HTREEITEM item) {
    return static_cast<TreeItem>(
        SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

std::string Text(HWND tree, HTREEITEM item, int capacity) {
    std::vector<wchar_t> buffer(static_cast<std::size_t>(capacity) + 1, L'\0');
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer.data();
    data.cchTextMax = capacity + 1;
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data)))
        return {};
    return kestrix::AnsiFromWide(buffer.data());
}

} // namespace

TreeItem EditorTreeView::FirstChild(TreeItem parent) {
    if (parent == 0)
        return Next(tree_, TVGN_ROOT, nullptr);
    return Next(tree_, TVGN_CHILD, AsItem(parent));
}

TreeItem EditorTreeView::NextSibling(TreeItem item) {
    return Next(tree_, TVGN_NEXT, AsItem(item));
}

std::string EditorTreeView::ItemText(TreeItem item) {
    return Text(tree_, AsItem(item), kKeyNameText);
}

void EditorTreeView::Expand(TreeItem item) {
    SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, static_cast<LPARAM>(item));
}

void EditorTreeView::Select(TreeItem item) {
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, static_cast<LPARAM>(item));
}

std::string TreeRootText(HWND tree) {
    auto root = reinterpret_cast<HTREEITEM>(Next(tree, TVGN_ROOT, nullptr));
    return root ? Text(tree, root, kRootText) : std::string();
}

std::optional<std::string> FullKeyPathOfItem(HWND tree, HTREEITEM item) {
    if (!item)
        return std::nullopt;
    std::vector<std::string> upward;
    for (; item; item = reinterpret_cast<HTREEITEM>(Next(tree, TVGN_PARENT, item)))
        upward.push_back(Text(tree, item, static_cast<int>(kMaxItemText)));
    return FullKeyPathFromItemTexts(upward);
}

HTREEITEM CaretItem(HWND tree) {
    return reinterpret_cast<HTREEITEM>(Next(tree, TVGN_CARET, nullptr));
}

std::optional<std::string> CurrentKeyPath(HWND tree) {
    return FullKeyPathOfItem(tree, CaretItem(tree));
}

} // namespace keywright
