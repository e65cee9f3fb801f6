// Locations from the editor's windows for bookmarks and drags.
#include "host/win32/EditorLocations.h"

#include "bookmarks/UrlFile.h"
#include "bookmarks/win32/BookmarkPane.h"
#include "bookmarks/win32/DropSource.h"
#include "host/KeyPath.h"
#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/Attach.h"
#include "host/win32/EditorListView.h"
#include "host/win32/EditorTreeView.h"
#include "strings/KeywrightStrings.h"

namespace keywright {

namespace {

void ShowProblem(const std::string& text) {
    ShowAddinMessage(Addin().editor.frame, text, MB_OK | MB_ICONEXCLAMATION);
}

std::optional<std::string> Encoded(const std::optional<std::string>& path) {
    if (!path)
        return std::nullopt;
    std::string encoded = EncodeSpecialChars(*path);
    if (encoded.size() >= kMaxLocation) {
        ShowProblem(KeywrightString(kStrEncodeBufferTooSmall));
        return std::nullopt;
    }
    return encoded;
}

void Drag(const std::optional<std::string>& location) {
    Attachment* attachment = CurrentAttachment();
    if (location && attachment)
        StartDrag(attachment->transfer(), {*location, ""});
}

} // namespace

std::optional<std::string> KeyLocationOfItem(HTREEITEM item) {
    return Encoded(FullKeyPathOfItem(Addin().editor.tree, item));
}

std::optional<std::string> SelectedValueLocation() {
    const HostWindows& editor = Addin().editor;
    int index = static_cast<int>(
        SendMessageW(editor.list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    if (index < 0)
        index = static_cast<int>(SendMessageW(editor.list, LVM_GETSELECTIONMARK, 0, 0));
    std::optional<std::string> key = CurrentKeyPath(editor.tree);
    if (index < 0 || !key)
        return std::nullopt;
    return ValueLocation(*key, EditorListView(editor.list).ItemText(index), kMaxLocation,
                         ShowProblem);
}

std::optional<std::string> CurrentBookmarkLocation() {
    const HostWindows& editor = Addin().editor;
    if (GetFocus() == editor.list)
        return SelectedValueLocation();
    return Encoded(CurrentKeyPath(editor.tree));
}

void DragKeyOfItem(HTREEITEM item) {
    Drag(KeyLocationOfItem(item));
}

void DragSelectedValue() {
    Drag(SelectedValueLocation());
}

void CreateBookmarkOfCurrentLocation() {
    Attachment* attachment = CurrentAttachment();
    std::optional<std::string> location = CurrentBookmarkLocation();
    if (attachment && attachment->pane() && location)
        attachment->pane()->CreateBookmark({*location, ""});
}

} // namespace keywright
