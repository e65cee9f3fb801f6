// The tab view: the row of result pages (the tab control), the field laid over a tab to
// rename its page, and the page's text in a RichEdit control below the row.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "app/win32/RichEditSurface.h"
#include "platform/win32/ui/Window.h"
#include "platform/win32/ui/WindowSubclass.h"

namespace sorbex {

// What the view tells the main window.
class CTabViewListener {
public:
    virtual ~CTabViewListener() = default;
    virtual void PageSelected(std::size_t index) = 0;
    // A double click on a tab asks to rename its page.
    virtual void RenameRequested(std::size_t index) = 0;
    virtual void PageRenamed(std::size_t index, const std::string& caption) = 0;
    // The caret moved in the page's text (a click, or a selection made by the program).
    virtual void TextPositionChosen(std::size_t position) = 0;
    // A double click in the page's text.
    virtual void TextPositionActivated(std::size_t position) = 0;
};

class CTabView : public kestrix::ui::Window {
public:
    explicit CTabView(CTabViewListener& listener);
    ~CTabView() override;

    HWND CreateIn(HINSTANCE instance, HWND frame, int id);

    // The row shows these captions with page `current` selected.
    void ShowPages(const std::vector<std::string>& captions, std::size_t current);
    // Lays the rename field over tab `index` with its caption selected.
    void BeginRename(std::size_t index);
    // Ends a rename: with `keep` the caption is taken.
    void EndRename(bool keep);
    bool renaming() const { return renameIndex_ >= 0; }

    // While the frame folds its property bar, the text is laid out for a view at least
    // `height` pixels tall (the taller end of the fold): a frame of the fold then only
    // shows more or less of it, without the control laying its text out again. 0 ends it.
    void HoldHeight(int height);

    CRichEditSurface& surface() { return surface_; }
    HWND pageRow() const { return row_; }
    HWND resultView() const { return surface_.edit(); }
    HWND renameField() const { return rename_; }

protected:
    bool OnCreate(const CREATESTRUCTW& create) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    void OnDestroy() override;

private:
    void Layout();
    // The row's and the rename field's procedures while they are subclassed.
    static LRESULT CALLBACK RowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK RenameProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT RowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT RenameMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    CTabViewListener& listener_;
    HWND row_ = nullptr;
    HWND rename_ = nullptr;
    CRichEditSurface surface_;
    int rowHeight_ = 0;
    int heldHeight_ = 0;
    int renameIndex_ = -1;
    bool showingPages_ = false; // ShowPages selects a tab: not the user's choice
    std::vector<std::string> shownCaptions_; // what the row holds
    std::unique_ptr<kestrix::ui::WindowSubclass> rowHook_;
    std::unique_ptr<kestrix::ui::WindowSubclass> renameHook_;
};

} // namespace sorbex
