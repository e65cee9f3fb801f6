// The main window: menu, toolbar, status bar with the run's progress, the property bar
// with the definition pages above a splitter, and the tab view of result pages. It is
// the run's, the replacement's and the storage's user interface, and passes every
// command to the portable models.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/AppSettings.h"
#include "app/CommandRules.h"
#include "app/CommandStates.h"
#include "app/DefinitionPages.h"
#include "app/DocumentCommands.h"
#include "app/ResultViewer.h"
#include "app/FrameLayout.h"
#include "app/RecentFiles.h"
#include "app/ResultPageView.h"
#include "app/ResultPages.h"
#include "app/UserDialogs.h"
#include "app/DisplayPace.h"
#include "app/win32/PrintPreviewWindow.h"
#include "app/win32/PropertyBar.h"
#include "app/win32/TabView.h"
#include "app/win32/WindowDialogs.h"
#include "platform/Clock.h"
#include "platform/CompoundStorage.h"
#include "platform/FileSystem.h"
#include "platform/win32/ui/MessageLoop.h"
#include "platform/win32/ui/Window.h"
#include "search/ReplaceUi.h"
#include "search/SearchController.h"
#include "search/SearchUi.h"
#include "cache/DocCache.h"
#include "storage/StorageUi.h"
#include "resultfile/TabDoc.h"
#include "text/TextConverterList.h"

namespace sorbex {

// What the main window works with; the program builds it at start, tests build their own.
struct CFrameContext {
    HINSTANCE instance = nullptr;
    kestrix::FileSystem* fs = nullptr;
    kestrix::Clock* clock = nullptr;
    kestrix::CompoundFiles* files = nullptr;
    CProfile* profile = nullptr;
    CDocCache* cache = nullptr;               // null or closed: no cache
    CTextConverterList* converters = nullptr; // null: no converters
    CUserDialogs* dialogs = nullptr;          // null: the window's own message boxes
};

// The pace of the run's status text and progress bar, and of its looks at the queue: a
// reader sees the status change ten times a second, and Esc is honoured within 20 ms.
constexpr std::uint32_t kRunDisplayMs = 100;
constexpr std::uint32_t kPumpMs = 20;

class CMainFrame : public kestrix::ui::Window,
                   public CSearchUi,
                   public CReplaceUi,
                   public CStorageUi,
                   public CDocumentUi,
                   public CResultActions,
                   private CPropertyBarListener,
                   private CTabViewListener {
public:
    explicit CMainFrame(const CFrameContext& context);
    ~CMainFrame() override;

    // Creates and shows the window at its stored place; `showCommand` other than the
    // normal one replaces the stored one. Then opens the document to start with.
    HWND Open(int showCommand, const std::string& commandLineFile);

    // The program's message loop and the one the run pumps through.
    kestrix::ui::MessageLoop& loop() { return loop_; }

    // For tests and the benchmark.
    CPropertyBar& propertyBar() { return propertyBar_; }
    CTabView& tabView() { return tabView_; }
    CPrintPreviewWindow& printPreview() { return preview_; }
    CTabDoc& document() { return document_; }
    CSearchController& run() { return run_; }
    CResultPageView& pageView() { return view_; }
    std::string StatusText() const;
    HWND toolbar() const { return toolbar_; }
    int propertyBarHeight() const { return barHeight_; }
    bool folding() const { return foldMoving_; }
    bool enabled(CCommand command) const;
    // The file viewer plugs in here; the frame does not own it. Null: none.
    void SetFileViewer(CResultViewer* viewer);
    // The program ends its message loop when the window is gone; tests keep theirs.
    bool quitWhenDestroyed = false;

    // --- CSearchUi (CFileListUi's part shared with CStorageUi and CReplaceUi) ---
    bool AskOkCancel(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void ShowIdleStatus() override;
    void RememberHistory(const std::string& directoryText, const std::string& maskText) override;
    void ProcessMessages() override;
    bool CancelRequested() const override { return false; }
    bool QuitReceived() override;
    void UpdateCommandStates() override;
    void FocusActiveView() override;
    void FoldPropertyBar() override;
    void UnfoldPropertyBar() override;
    bool OpenPage(CFileFindDoc& page) override;
    void ActivatePage(CFileFindDoc& page) override;
    void ClearPage(CFileFindDoc& page) override;
    void AppendResult(CFileFindDoc& page, CSearchResult& result, const CFileEntry& file) override;
    void AppendClosingLine(CFileFindDoc& page, const std::string& text) override;
    void ReportSkipped(const std::string& path, const std::string& message) override;
    void ReportConverterFailure(const std::string& path, const std::string& message) override;
    void ShowCounters(CFileFindDoc& page, const CSearchCounters& counters) override;
    void RefreshResults(CFileFindDoc& page, int resultsShown) override;
    void ShowProgress(int range) override;
    void SetProgress(int position) override;
    void HideProgress() override;
    void Beep() override;

    // --- CReplaceUi ---
    bool ShowReplaceWarning() override;
    CReplaceConfirmation ConfirmReplace(const std::string& question) override;
    void ShowMessage(const std::string& text) override;
    void ShowResult(std::size_t index) override;
    void ResultReplaced(std::size_t index, int delta) override;

    // --- CStorageUi ---
    void BeginProgress(int range, const std::string& text) override;
    void StepProgress() override;
    void EndProgress() override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    bool AskYesNo(const std::string& question) override;

    // --- CDocumentUi ---
    CSaveAnswer AskSaveChanges(const std::string& question) override;
    std::string ChooseSavePath(const std::string& current) override;
    std::string ChooseOpenPath() override;
    void DocumentChanged() override;

    // --- CResultActions ---
    long OpenWithApplication(const std::string& path) override;
    void StartReplacement(CFileFindDoc& page, std::size_t index) override;

protected:
    bool OnCreate(const CREATESTRUCTW& create) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    bool OnCommand(WORD id, WORD code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnSize(UINT kind, int width, int height) override;
    bool OnTimer(UINT_PTR id) override;
    bool OnClose() override;
    void OnDestroy() override;

private:
    // --- CPropertyBarListener, CTabViewListener ---
    void DefinitionPageChanged() override;
    void UnfoldRequested() override;
    void PageSelected(std::size_t index) override;
    void RenameRequested(std::size_t index) override;
    void PageRenamed(std::size_t index, const std::string& caption) override;
    void TextPositionChosen(std::size_t position) override;
    void TextPositionActivated(std::size_t position) override;

    // Layout, splitter and fold (MainFrame.cpp).
    void CreateBars();
    // A key typed anywhere in the frame, the property bar's fields included, as the
    // frame's accelerator; true when it was one.
    bool TranslateFrameKey(MSG& message);
    // WS_VISIBLE unless the profile says the bar was hidden when the window last closed.
    DWORD ShownStyle(int barId);
    void Layout();
    // The property bar, the tab view and the progress bar for the bar's current height:
    // all a frame of the fold or a move of the splitter changes.
    void LayoutPanes();
    int SharedHeight() const;
    void StartFold(int toHeight);
    // The frame's layout with the property bar `barHeight` pixels high; during a fold its
    // window stands `standingHeight` high.
    CFrameLayout LayoutFor(int barHeight, int standingHeight = 0) const;
    bool OnSplitterMouse(UINT message, LPARAM lParam);
    void RestorePlacement(int showCommand);
    void StorePlacement();

    // Commands (MainFrameCommands.cpp).
    CCommandContext Context() const;
    // The commands' rules for the controls of `ids`; ids without a rule are left out.
    static std::vector<CCommandBinding> CommandBindings(const std::vector<int>& ids);
    bool RunCommand(WORD id);
    void StartSearching();
    // Stores the page the last run filled, if it still waits for that: the store is left
    // until the window is idle, and anything that touches the document first calls this.
    void StoreWaitingRun();
    // The replacement walk over `page` from `index`; `afterSearch`: the run's own walk.
    void Walk(CFileFindDoc& page, std::size_t index, bool afterSearch);
    // "Undo Replacement": the last walk's files put back, the current page told.
    void UndoReplacement();
    void UpdateTitle();
    void ShowPages();
    void ShowStatusText(const std::string& text);
    // What the run changed since its display was last due, if it is due now.
    void ShowWaitingRunDisplay(std::uint32_t now);
    void ShowRecentFiles(HMENU fileMenu);
    void EnableMenu(HMENU menu);
    void ShowPrompt(UINT id);
    bool IsReplacePage();
    // Prints the current result page, or shows it in the print preview.
    void PrintResultPage(bool preview);
    void ChoosePageSetup();

    CFrameContext context_;
    std::unique_ptr<CWindowDialogs> ownDialogs_;
    CUserDialogs& dialogs_;
    CAppSettings settings_;
    CPrintPreviewWindow preview_;
    CTabDoc document_;
    CTabView tabView_;
    CResultPageView view_;
    CResultPageOnlyViewer pageOnlyViewer_;
    CResultViewer* viewer_;
    CResultPages pages_;
    CRecentFiles recent_;
    CDocumentCommands documentCommands_;
    CDefinitionState definitions_;
    CSearchController run_;
    CPropertyBar propertyBar_;
    kestrix::ui::ModelessWindowList modeless_;
    kestrix::ui::MessageLoop loop_;
    // The states the toolbar's buttons and the property bar's were last given.
    CCommandStates toolbarStates_;
    CCommandStates barStates_{CPropertyBar::ButtonBindings()};
    HACCEL accelerators_ = nullptr;
    HWND toolbar_ = nullptr;
    HWND status_ = nullptr;
    HWND progress_ = nullptr;
    int progressRange_ = 0;
    int progressPosition_ = 0;
    // While a run goes on, its status text and progress reach their controls at this
    // pace, and the run looks at the message queue at the pump's.
    CDisplayPace statusPace_{kRunDisplayMs};
    CDisplayPace progressPace_{kRunDisplayMs};
    CDisplayPace pumpPace_{kPumpMs};
    std::string statusWaiting_;

    double splitFactor_ = kDefaultSplitFactor;
    int barHeight_ = 0;
    bool folded_ = false;
    CFoldAnimation fold_;
    // From a fold's start until its last frame: the bar stands at the fold's taller end.
    bool foldMoving_ = false;
    bool draggingSplitter_ = false;
    int waitDepth_ = 0;
    std::wstring tooltip_; // the text of the toolbar's tooltip shown now

    bool quitReceived_ = false;
    bool closeAfterRun_ = false;
    // The current page was stored after its run, before a replacement walk began.
    bool runStored_ = false;
    // The page of the run that ended, until it is stored (see StoreWaitingRun).
    CFileFindDoc* runWaitingStore_ = nullptr;
    // Posted when a run ends: the page is stored once what waited in the queue is done.
    static constexpr UINT kStoreRunMessage = WM_APP + 1;
};

} // namespace sorbex
