// The print preview of a RichEdit control's text: its pages as the printer lays them
// out, one or two at a time where the preview model puts them, and printing from there.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/AppSettings.h"
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
    // Lays the text out again (after a new page setup) when the preview is open.
    void Refresh();
    // Draws the shown pages into `dc` over a client area of `width` x `height`.
    void Draw(HDC dc, int width, int height);

    // For tests.
    const CPrintPreview* model() const { return model_.get(); }
    const CPrinterPage& page() const { return page_; }

protected:
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnClose() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    bool EnsureWindow(HWND owner);
    void LayOut();
    void DrawPage(HDC dc, const CPreviewRect& rect, std::size_t page);
    // Only the commands that do something now are offered.
    void UpdateMenu();

    HINSTANCE instance_;
    CAppSettings& settings_;
    HWND edit_ = nullptr;
    std::wstring documentName_;
    CPageSetup setup_;
    CPrinterPage page_;
    std::unique_ptr<CPrintPreview> model_;
};

} // namespace sorbex
