// The main window as the user interface of the search run, the replacement walk, the
// storage commands and the document commands: each call becomes a change of the
// window or a call on the result pages.
#include "app/win32/MainFrame.h"

#include <commctrl.h>

#include <ctime>

#include "app/win32/WideText.h"
#include "search/ReplacePassages.h"
#include "strings/SorbexStrings.h"
#include "undo/UndoJournal.h"
#include "undo/UndoRestore.h"

namespace sorbex {
namespace {

// The run's progress bar in the status bar.
constexpr int kProgressWidth = 193;

} // namespace

// --- messages, status and progress ---

bool CMainFrame::AskOkCancel(const std::string& text) {
    return dialogs_.AskOkCancel(text);
}

void CMainFrame::ShowError(const std::string& text) {
    dialogs_.ShowError(text);
}

void CMainFrame::ShowMessage(const std::string& text) {
    dialogs_.ShowMessage(text);
}

bool CMainFrame::AskYesNo(const std::string& question) {
    return dialogs_.AskYesNo(question);
}

void CMainFrame::SetStatusText(const std::string& text) {
    if (!run_.flags().searching) {
        statusPace_.Restart();
        ShowStatusText(text);
        return;
    }
    statusWaiting_ = text;
    if (statusPace_.Changed(context_.clock->Milliseconds()))
        ShowStatusText(statusWaiting_);
}

void CMainFrame::ShowStatusText(const std::string& text) {
    SendMessageW(status_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

void CMainFrame::ShowWaitingRunDisplay(std::uint32_t now) {
    if (statusPace_.Due(now))
        ShowStatusText(statusWaiting_);
    if (progressPace_.Due(now))
        SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(progressPosition_), 0);
}

void CMainFrame::ShowIdleStatus() {
    SetStatusText(SorbexString(IDS_IDLE_STATUS));
}

std::string CMainFrame::StatusText() const {
    const auto length = LOWORD(SendMessageW(status_, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(length + 1u, L'\0');
    SendMessageW(status_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return Narrow(text);
}

void CMainFrame::ShowProgress(int range) {
    RECT client{};
    GetClientRect(status_, &client);
    const int parts[] = {client.right > kProgressWidth ? client.right - kProgressWidth : 0, -1};
    SendMessageW(status_, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    progressRange_ = range;
    progressPosition_ = 0;
    progressPace_.Restart();
    SendMessageW(progress_, PBM_SETRANGE32, 0, range);
    SendMessageW(progress_, PBM_SETPOS, 0, 0);
    ShowWindow(progress_, SW_SHOW);
    Layout();
}

void CMainFrame::SetProgress(int position) {
    progressPosition_ = position;
    if (progressPace_.Changed(context_.clock->Milliseconds()) || position >= progressRange_)
        SendMessageW(progress_, PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CMainFrame::HideProgress() {
    ShowWindow(progress_, SW_HIDE);
    const int parts[] = {-1};
    SendMessageW(status_, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
}

void CMainFrame::BeginProgress(int range, const std::string& text) {
    ShowProgress(range);
    SetStatusText(text);
}

void CMainFrame::StepProgress() {
    if (progressPosition_ < progressRange_)
        SetProgress(progressPosition_ + 1);
}

void CMainFrame::EndProgress() {
    HideProgress();
    ShowIdleStatus();
}

void CMainFrame::BeginWaitCursor() {
    ++waitDepth_;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
}

void CMainFrame::EndWaitCursor() {
    if (waitDepth_ > 0 && --waitDepth_ == 0)
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

void CMainFrame::Beep() {
    MessageBeep(MB_OK);
}

// --- the run ---

void CMainFrame::ProcessMessages() {
    const std::uint32_t now = context_.clock->Milliseconds();
    ShowWaitingRunDisplay(now);
    if (!pumpPace_.Changed(now))
        return;
    MSG message{};
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The run ends as cancelled; the program's loop gets the quit afterwards.
            quitReceived_ = true;
            run_.flags().cancelRequested = 1;
            run_.flags().quitRequested = 1;
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && run_.flags().searching) {
            run_.CancelSearching();
            continue;
        }
        if (!loop_.PreTranslate(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

bool CMainFrame::QuitReceived() {
    const bool quit = quitReceived_;
    quitReceived_ = false;
    return quit;
}

void CMainFrame::RememberHistory(const std::string& directoryText, const std::string& maskText) {
    propertyBar_.searchPage().AddHistory(CHistoryKind::Directory, directoryText);
    propertyBar_.searchPage().AddHistory(CHistoryKind::FileName, maskText);
}

void CMainFrame::FocusActiveView() {
    SetFocus(tabView_.resultView());
}

bool CMainFrame::OpenPage(CFileFindDoc& page) {
    const bool opened = pages_.OpenPage(page);
    ShowPages();
    return opened;
}

void CMainFrame::ActivatePage(CFileFindDoc& page) {
    pages_.ActivatePage(page);
    ShowPages();
}

void CMainFrame::ClearPage(CFileFindDoc& page) {
    pages_.ClearPage(page);
}

void CMainFrame::AppendResult(CFileFindDoc& page, CSearchResult& result, const CFileEntry& file) {
    pages_.AppendResult(page, result, file);
}

void CMainFrame::AppendClosingLine(CFileFindDoc& page, const std::string& text) {
    pages_.AppendClosingLine(page, text);
}

void CMainFrame::ReportSkipped(const std::string&, const std::string& message) {
    pages_.ReportSkipped(message);
}

void CMainFrame::ReportConverterFailure(const std::string&, const std::string& message) {
    pages_.ReportSkipped(message);
}

void CMainFrame::ShowCounters(CFileFindDoc& page, const CSearchCounters& counters) {
    pages_.ShowCounters(page, counters);
}

void CMainFrame::RefreshResults(CFileFindDoc&, int resultsShown) {
    pages_.RefreshResults(resultsShown);
}

void CMainFrame::StartSearching() {
    if (!enabled(CCommand::StartSearching))
        return;
    const bool replace = propertyBar_.ActivePage() == CDefinitionPageKind::Replace;
    const CSearchPageValues search = propertyBar_.searchPage().Values();
    CReplacePageValues replacement;
    if (replace) {
        replacement = propertyBar_.replacePage().Values();
        propertyBar_.replacePage().AddHistory(replacement.replaceString);
    }
    propertyBar_.searchPage().AddHistory(CHistoryKind::SearchExpression, search.expression);
    const CSearchRequest request =
        MakeSearchRequest(search, replace ? &replacement : nullptr, settings_);
    runStored_ = false;
    const CRunOutcome outcome = run_.StartSearching(request);
    if (outcome.page)
        pages_.RunEnded(*outcome.page);
    if (outcome.page && !runStored_) {
        // The reader gets the whole page first; its store follows when the window is idle.
        runWaitingStore_ = outcome.page;
        PostMessageW(hwnd(), kStoreRunMessage, 0, 0);
    }
    ShowIdleStatus();
    ShowPages();
    UpdateTitle();
    UpdateCommandStates();
    if (closeAfterRun_) {
        closeAfterRun_ = false;
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
    }
}

void CMainFrame::StoreWaitingRun() {
    CFileFindDoc* const page = runWaitingStore_;
    runWaitingStore_ = nullptr;
    if (page)
        pages_.StoreRun(*page);
}

// --- the replacement ---

void CMainFrame::Walk(CFileFindDoc& page, std::size_t index, bool afterSearch) {
    StoreWaitingRun();
    CReplaceContext context{*this, *context_.profile, *context_.fs, run_.flags()};
    context.encoding.choice = page.request.encoding;
    const std::string replacement = propertyBar_.replacePage().Values().replaceString;
    // A walk that would not run makes an empty journal folder, which End removes.
    std::unique_ptr<CUndoRecorder> undo;
    const std::string question = PrepareUndoJournal(
        *context_.fs, DefaultUndoFolder(*context_.fs), ReadUndoLimits(*context_.profile),
        page.results, static_cast<std::int64_t>(std::time(nullptr)), undo);
    if (!question.empty() && !AskYesNo(question))
        return;
    if (undo)
        AttachUndoRecorder(context, *undo);
    bool walked = true;
    if (afterSearch) {
        // The results are in the file before the walk changes their files.
        pages_.StoreRun(page);
        runStored_ = true;
        ReplacePassages(&page.results, index, replacement, context);
    } else {
        walked = StartReplacementAt(&page.results, index, replacement, context);
    }
    if (undo)
        undo->End();
    if (!walked)
        return;
    pages_.StoreReplaced(page);
    UpdateTitle();
}

void CMainFrame::UndoReplacement() {
    CUndoReport report;
    if (const kestrix::OsError error =
            UndoLastWalk(*context_.fs, DefaultUndoFolder(*context_.fs), false, report)) {
        ShowError(FormatSorbexString(IDS_UNDO_FILE_FAILED,
                                     {error.path, kestrix::OsErrorText(error.code)}));
        return;
    }
    if (!report.walkFound) {
        ShowMessage(SorbexString(IDS_UNDO_NOTHING));
        return;
    }
    // Files an earlier undo put back count too: their results may still be marked.
    std::vector<std::string> back = report.restored;
    back.insert(back.end(), report.alreadyBack.begin(), report.alreadyBack.end());
    pages_.FilesRestored(back);
    UpdateTitle();
    std::string message =
        FormatSorbexString(IDS_UNDO_RESTORED, {std::to_string(report.restored.size())});
    for (const std::string& path : report.changed)
        message += "\n" + FormatSorbexString(IDS_UNDO_FILE_CHANGED, {path});
    for (const auto& failed : report.failed)
        message += "\n" + FormatSorbexString(IDS_UNDO_FILE_FAILED,
                                             {failed.first, kestrix::OsErrorText(failed.second.code)});
    ShowMessage(message);
}

void CMainFrame::StartReplacement(CFileFindDoc& page, std::size_t index) {
    Walk(page, index, false);
}

bool CMainFrame::ShowReplaceWarning() {
    return dialogs_.ShowReplaceWarning();
}

CReplaceConfirmation CMainFrame::ConfirmReplace(const std::string& question) {
    return dialogs_.ConfirmReplace(question);
}

void CMainFrame::ShowResult(std::size_t index) {
    pages_.ShowForReplacement(index);
}

void CMainFrame::ResultReplaced(std::size_t index, int delta) {
    pages_.ResultReplaced(index, delta);
}

long CMainFrame::OpenWithApplication(const std::string& path) {
    return dialogs_.OpenWithApplication(path);
}

// --- the document ---

CSaveAnswer CMainFrame::AskSaveChanges(const std::string& question) {
    return dialogs_.AskSaveChanges(question);
}

std::string CMainFrame::ChooseSavePath(const std::string& current) {
    return dialogs_.ChooseResultFile(true, current);
}

std::string CMainFrame::ChooseOpenPath() {
    return dialogs_.ChooseResultFile(false, std::string());
}

void CMainFrame::DocumentChanged() {
    ShowPages();
    UpdateTitle();
    UpdateCommandStates();
}

void CMainFrame::UpdateTitle() {
    SetWindowTextW(hwnd(), Wide(FormatSorbexString(IDS_FRAME_TITLE, {documentCommands_.Title(),
                                                                     SorbexString(IDS_APP_TITLE)}))
                               .c_str());
}

} // namespace sorbex
