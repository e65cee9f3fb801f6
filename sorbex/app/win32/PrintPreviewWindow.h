// The print preview of a RichEdit control's text: its pages as the printer lays them
// out, one or two at a time where the preview model puts them, and printing from there.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/AppSettings.h"
#include "app/win32/PagedText.h"
#include "platform/win32/ui/Window.h"
#include "viewer/PrintPreview.h"

namespace sorbex {

class CPrintPreviewWindow : public kestrix::ui::Window {
public:
    CPrintPreviewWindow(HINSTANCE instance, CAppSettings& settings);
    ~CPrintPreviewWindow() override;
    CPrintPreviewWindow(const CPrintPreviewWindow&) = delete;
    CPrintPreviewWindow& operator=(const CPrintPreviewWindow&) = delete;

    // Shows the pages of `edit`'s text, laid out anew, in a window owned by `owner`;
    // `documentName` names the document when it is printed from here.
    bool Open(HWND owner, HWND edit, const std::wstring& documentName);
    // The text or the page setup changed: an open preview lays the text out again
    // before it draws next.
    void Refresh();
    // Draws the shown pages into `dc` over a client area of `width` x `height`.
    void Draw(HDC dc, int width, int height);

    // For tests.
    const CPrintPreview* model() {
        LayOutIfStale();
        return model_.get();
    }
    const CPrinterPage& page() const { return page_; }
    const CPagedText& text() const { return text_; }
    // How many times the text was laid out.
    int layouts() const { return layouts_; }

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnClose() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool EnsureWindow(HWND owner);
    void LayOut();
    void LayOutIfStale();
    // Only the commands that do something now are offered.
    void UpdateMenu();
    CPreviewView View() const;
    void UpdateScrollBars();
    // A scroll bar's request: `bar` SB_HORZ or SB_VERT, `code` its SB_ code.
    void Scroll(int bar, int code);
    bool OnKey(WPARAM key);

    HINSTANCE instance_;
    CAppSettings& settings_;
    HWND edit_ = nullptr;
    std::wstring documentName_;
    CPageSetup setup_;
    CPrinterPage page_;
    CPagedText text_;
    std::unique_ptr<CPrintPreview> model_;
    bool stale_ = false;
    int layouts_ = 0;
};

} // namespace sorbex
