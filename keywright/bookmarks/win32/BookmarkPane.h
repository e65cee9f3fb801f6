// The bookmark pane under the editor's list view: a window of class "Velmara-Sheet-Wnd"
// whose tree shows the bookmark folder, with its messages, context menus, label edits,
// opening by the shell, and dragging and dropping of bookmarks.
#pragma once

#include "bookmarks/BookmarkFolder.h"
#include "bookmarks/UrlFile.h"
#include "bookmarks/win32/TransferEnvironment.h"

#include <windows.h>

#include <functional>
#include <memory>

namespace keywright {

constexpr wchar_t kBookmarkPaneClass[] = L"Velmara-Sheet-Wnd";

// What the pane needs from the add-in.
struct BookmarkPaneContext {
    HINSTANCE instance = nullptr; // the add-in's module: class, images, menu, folder
    HWND frame = nullptr;         // the editor's main window: owner of boxes and of opened files
    BookmarkFolder folder;        // FindBookmarkFolder's choice
    TransferEnvironment transfer;
    std::function<void()> tookFocus;                     // the pane became the current pane
    std::function<void(bool enabled)> enableAccelerators; // off while a label is edited
};

class BookmarkPaneWindow;

class BookmarkPane {
public:
    explicit BookmarkPane(BookmarkPaneContext context);
    ~BookmarkPane();
    BookmarkPane(const BookmarkPane&) = delete;
    BookmarkPane& operator=(const BookmarkPane&) = delete;

    // Registers the class (once) and creates the pane as a child of the frame; null
    // when that failed.
    HWND Create();
    HWND hwnd() const;
    // The pane's tree view control.
    HWND tree() const;

    // Writes a bookmark of `list` into the top folder and shows it (command 3016);
    // failures are shown.
    bool CreateBookmark(const LocationList& list);

private:
    std::unique_ptr<BookmarkPaneWindow> window_;
};

} // namespace keywright
