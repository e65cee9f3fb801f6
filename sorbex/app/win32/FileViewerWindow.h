// The file viewer's window: a frame titled with the shown file's name around a RichEdit
// control, or a picture in its place. It draws what the portable viewer model decides.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <olectl.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/AppSettings.h"
#include "app/ResultViewer.h"
#include "app/win32/PrintPreviewWindow.h"
#include "platform/FileSystem.h"
#include "platform/win32/ui/Window.h"
#include "text/TextConverterList.h"
#include "viewer/FileViewer.h"

namespace sorbex {

class CFileViewerWindow : public kestrix::ui::Window,
                          public CResultViewer,
                          private CViewerUi {
public:
    // `owner` is the main window, which the viewer stays above; `converters` may be null.
    CFileViewerWindow(HINSTANCE instance, HWND owner, kestrix::FileSystem& fs, CProfile& profile,
                      CTextConverterList* converters);
    ~CFileViewerWindow() override;
    CFileViewerWindow(const CFileViewerWindow&) = delete;
    CFileViewerWindow& operator=(const CFileViewerWindow&) = delete;

    // --- CResultViewer ---
    bool ShowResult(const CFileFindDoc& page, std::size_t index) override;
    void ResultReplaced(const CFileFindDoc& page, std::size_t index, int delta) override;
    std::string ShownFile() const override;
    void Clear() override;
    void OptionsChanged() override { FollowFont(); }
    void PageSetupChanged() override { preview_.Refresh(); }

    // For tests.
    HWND edit() const { return edit_; }
    bool showsPicture() const { return picture_ != nullptr; }
    const CFileViewer& model() const { return model_; }
    CPrintPreviewWindow& preview() { return preview_; }
    // How many times the control was given a text.
    int contentsSet() const { return contentsSet_; }

protected:
    bool OnCreate(const CREATESTRUCTW& create) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnClose() override;
    void OnDestroy() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // --- CViewerUi ---
    void ActivateViewer(const std::string& title) override;
    bool ShowPicture(const std::string& path) override;
    void SetRedraw(bool on) override;
    void SetDefaultFont(const CControlFont& font) override;
    void SetContent(const std::string& content, bool rtf, const std::u32string& outside) override;
    std::string ContentText() override;
    void MarkPassage(long start, long end) override;
    void SelectPassage(long start, long end) override;
    CViewPlace Place() override;
    void SetPlace(const CViewPlace& place) override;

    bool EnsureWindow();
    // Keeps the window's place and size in the profile while it is shown.
    void StorePlacement();
    // The "SearchOptions" font, given to the model when the user changed it.
    void FollowFont();
    void DropPicture();
    // A text is shown: it can be printed.
    bool CanPrint() const;
    void Print();
    void ChoosePageSetup();
    void OpenPreview();
    void PaintPicture();

    HINSTANCE instance_;
    HWND owner_;
    kestrix::FileSystem& fs_;
    CAppSettings settings_;
    CFileViewer model_;
    CPrintPreviewWindow preview_;
    CViewerFont font_;
    bool fontGiven_ = false;
    bool contentIsRtf_ = false;
    // Where the plain text's characters take two units in the control.
    std::vector<std::uint32_t> contentPairs_;
    bool showMaximized_ = false;
    HWND edit_ = nullptr;
    int contentsSet_ = 0;
    // The picture shown in place of the text; released when it goes.
    struct ReleasePicture {
        void operator()(IPicture* picture) const { picture->Release(); }
    };
    std::unique_ptr<IPicture, ReleasePicture> picture_;
};

} // namespace sorbex
