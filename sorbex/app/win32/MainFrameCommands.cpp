// The main window's commands: which are enabled, where each goes, and what the property
// bar and the tab view report.
#include "app/win32/MainFrame.h"

#include <commctrl.h>

#include "app/win32/AboutDialog.h"
#include "app/win32/OptionsDialog.h"
#include "app/win32/SorbexIds.h"
#include "app/win32/ViewerPrinting.h"
#include "app/win32/WideText.h"
#include "strings/SorbexStrings.h"
#include "undo/UndoJournal.h"
#include "undo/UndoRestore.h"

namespace sorbex {
namespace {

struct CommandRule {
    WORD id;
    CCommand command;
};
constexpr CommandRule kRules[] = {
    {ID_START_SEARCHING, CCommand::StartSearching},
    {ID_CANCEL_SEARCHING, CCommand::CancelSearching},
    {ID_DELETE_PAGE, CCommand::DeletePage},
    {ID_RENAME_PAGE, CCommand::RenamePage},
    {ID_SHIFT_PAGE_LEFT, CCommand::ShiftPageLeft},
    {ID_SHIFT_PAGE_RIGHT, CCommand::ShiftPageRight},
    {ID_PREVIOUS_RESULT, CCommand::PreviousResult},
    {ID_NEXT_RESULT, CCommand::NextResult},
    {ID_PREVIOUS_FILE, CCommand::PreviousFile},
    {ID_NEXT_FILE, CCommand::NextFile},
    {ID_OPEN_REGISTERED, CCommand::OpenInRegisteredApplication},
    {ID_FILE_NEW, CCommand::FileNew},
    {ID_FILE_OPEN, CCommand::FileOpen},
    {ID_FILE_SAVE, CCommand::FileSave},
    {ID_FILE_SAVE_AS, CCommand::FileSaveAs},
    {ID_FILE_REORGANIZE, CCommand::FileReorganize},
    {ID_CACHE_REORGANIZE, CCommand::CacheReorganize},
    {ID_CACHE_DELETE, CCommand::CacheDelete},
    {ID_OPTIONS, CCommand::Options},
    {ID_TOGGLE_REGISTERED, CCommand::ToggleRegisteredApplications},
    {ID_UNDO_REPLACEMENT, CCommand::UndoReplacement},
    {ID_FILE_MRU_FILE1, CCommand::FileOpen},
    {ID_FILE_MRU_FILE1 + 1, CCommand::FileOpen},
    {ID_FILE_MRU_FILE1 + 2, CCommand::FileOpen},
    {ID_FILE_MRU_FILE1 + 3, CCommand::FileOpen},
};

const CommandRule* RuleOf(WORD id) {
    for (const CommandRule& rule : kRules)
        if (rule.id == id)
            return &rule;
    return nullptr;
}

struct StepCommand {
    WORD id;
    CStep step;
};
constexpr StepCommand kSteps[] = {
    {ID_PREVIOUS_RESULT, CStep::PreviousResult},
    {ID_NEXT_RESULT, CStep::NextResult},
    {ID_PREVIOUS_FILE, CStep::PreviousFile},
    {ID_NEXT_FILE, CStep::NextFile},
};

// The first line of a command's prompt: its status text; the second: its tooltip.
std::string PromptLine(UINT id, bool tooltip) {
    const std::string prompt = SorbexString(id);
    const std::size_t newline = prompt.find('\n');
    if (newline == std::string::npos)
        return tooltip ? std::string() : prompt;
    return tooltip ? prompt.substr(newline + 1) : prompt.substr(0, newline);
}

bool IsOfClass(HWND window, const wchar_t* className) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return lstrcmpiW(name, className) == 0;
}

bool IsEditField(HWND window) { return IsOfClass(window, WC_EDITW); }

// What a text field does with a key itself stays with the field: Ctrl+Del deletes in
// it (not the result page), and an open drop-down list takes every key (Esc closes it).
bool FieldKeepsKey(const MSG& message) {
    if (!IsEditField(message.hwnd))
        return false;
    const HWND combo = GetParent(message.hwnd);
    if (IsOfClass(combo, WC_COMBOBOXW) && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0))
        return true;
    return message.wParam == VK_DELETE;
}

} // namespace

bool CMainFrame::TranslateFrameKey(MSG& message) {
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    if (message.hwnd != hwnd() && !IsChild(hwnd(), message.hwnd))
        return false;
    if (FieldKeepsKey(message))
        return false;
    // F10 arrives as a system key, which the menu bar would take.
    if (message.message == WM_SYSKEYDOWN && message.wParam == VK_F10) {
        PostMessageW(hwnd(), WM_COMMAND, MAKEWPARAM(ID_START_SEARCHING, 1), 0);
        return true;
    }
    return TranslateAcceleratorW(hwnd(), accelerators_, &message) != 0;
}

CCommandContext CMainFrame::Context() const {
    const CDefinitionPageKind active = propertyBar_.ActivePage();
    return pages_.Context(run_.flags().searching != 0, run_.flags().replacing != 0,
                          active == CDefinitionPageKind::Search ||
                              active == CDefinitionPageKind::Replace,
                          context_.cache && context_.cache->IsOpen());
}

bool CMainFrame::enabled(CCommand command) const {
    CCommandContext context = Context();
    // The journal is looked up for the one command that needs it, not for every other.
    if (command == CCommand::UndoReplacement)
        context.undoAvailable = HasUndoableWalk(*context_.fs, DefaultUndoFolder(*context_.fs));
    return IsCommandEnabled(command, context);
}

bool CMainFrame::IsReplacePage() {
    CFileFindDoc* page = document_.CurrentPage();
    return page && page->request.replaceMode != 0;
}

std::vector<CCommandBinding> CMainFrame::CommandBindings(const std::vector<int>& ids) {
    std::vector<CCommandBinding> bindings;
    for (const int id : ids)
        if (const CommandRule* rule = RuleOf(static_cast<WORD>(id)))
            bindings.push_back({id, rule->command});
    return bindings;
}

void CMainFrame::UpdateCommandStates() {
    // Only what changed goes to the controls: a run updates at its start and its end,
    // and after each command, and most of those updates change nothing.
    const CCommandContext context = Context();
    toolbarStates_.Update(context, [this](int id, bool on) {
        SendMessageW(toolbar_, TB_ENABLEBUTTON, static_cast<WPARAM>(id),
                     MAKELPARAM(on ? TRUE : FALSE, 0));
    });
    barStates_.Update(context, [this](int id, bool on) { propertyBar_.EnableButton(id, on); });
}

void CMainFrame::EnableMenu(HMENU menu) {
    CCommandContext context = Context();
    // Looked up as the menu opens only: another instance or the command line may have
    // added or undone a walk meanwhile.
    context.undoAvailable = HasUndoableWalk(*context_.fs, DefaultUndoFolder(*context_.fs));
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id == ID_FILE_MRU_FILE1) {
            ShowRecentFiles(menu);
            break;
        }
    }
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const auto id = static_cast<WORD>(GetMenuItemID(menu, i));
        if (const CommandRule* rule = RuleOf(id))
            EnableMenuItem(menu, i,
                           MF_BYPOSITION |
                               (IsCommandEnabled(rule->command, context) ? MF_ENABLED : MF_GRAYED));
    }
    CheckMenuItem(menu, ID_TOGGLE_REGISTERED,
                  MF_BYCOMMAND | (settings_.DontUseFileViewer() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, ID_VIEW_TOOLBAR,
                  MF_BYCOMMAND | (IsWindowVisible(toolbar_) ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(menu, ID_VIEW_STATUS_BAR,
                  MF_BYCOMMAND | (IsWindowVisible(status_) ? MF_CHECKED : MF_UNCHECKED));
}

void CMainFrame::ShowRecentFiles(HMENU fileMenu) {
    // The recent files take the place of the first entry; without any, it stays greyed.
    int first = -1;
    for (int i = 0; i < GetMenuItemCount(fileMenu); ++i) {
        const UINT id = GetMenuItemID(fileMenu, i);
        if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount) {
            if (first < 0)
                first = i;
            DeleteMenu(fileMenu, i--, MF_BYPOSITION);
        }
    }
    if (first < 0)
        return;
    recent_.Load(*context_.profile);
    const auto& files = recent_.entries();
    if (files.empty()) {
        InsertMenuW(fileMenu, first, MF_BYPOSITION | MF_STRING | MF_GRAYED, ID_FILE_MRU_FILE1,
                    L"Recent File");
        return;
    }
    for (std::size_t i = 0; i < files.size(); ++i)
        InsertMenuW(fileMenu, first + static_cast<int>(i), MF_BYPOSITION | MF_STRING,
                    ID_FILE_MRU_FILE1 + i, Wide(RecentFileMenuText(i, files[i])).c_str());
}

void CMainFrame::ShowPrompt(UINT id) {
    if (run_.flags().searching)
        return;
    const std::string prompt = PromptLine(id, false);
    if (prompt.empty())
        ShowIdleStatus();
    else
        SetStatusText(prompt);
}

void CMainFrame::ShowPages() {
    std::vector<std::string> captions;
    for (std::size_t i = 0; i < document_.size(); ++i)
        captions.push_back(document_[i].caption);
    tabView_.ShowPages(captions, document_.currentIndex());
}

bool CMainFrame::OnCommand(WORD id, WORD, HWND) {
    return RunCommand(id);
}

void CMainFrame::PrintResultPage(bool preview) {
    if (!document_.CurrentPage())
        return;
    view_.Complete();
    const HWND page = tabView_.resultView();
    const std::wstring name = kestrix::ui::WindowText(hwnd());
    if (preview) {
        preview_.Open(hwnd(), page, name);
        return;
    }
    const HDC printer = ChoosePrinter(hwnd(), settings_.PageSetup());
    if (!printer)
        return;
    PrintText(page, printer, settings_.PageSetup(), name);
    DeleteDC(printer);
}

void CMainFrame::ChoosePageSetup() {
    // One page setup for the result pages and the viewer: both read it when they print.
    if (!ChangePageSetup(hwnd(), settings_))
        return;
    preview_.Refresh();
    viewer_->PageSetupChanged();
}

bool CMainFrame::RunCommand(WORD id) {
    // Every command sees the last run's page in the document.
    StoreWaitingRun();
    if (const CommandRule* rule = RuleOf(id))
        if (!enabled(rule->command))
            return true;
    for (const StepCommand& step : kSteps) {
        if (step.id == id) {
            pages_.Step(step.step, IsReplacePage(), *this);
            UpdateCommandStates();
            return true;
        }
    }
    CDocCache* cache = context_.cache;
    switch (id) {
    case ID_START_SEARCHING:
        StartSearching();
        break;
    case ID_CANCEL_SEARCHING:
        run_.CancelSearching();
        break;
    case ID_DELETE_PAGE:
        pages_.DeleteCurrentPage();
        ShowPages();
        UpdateTitle();
        break;
    case ID_RENAME_PAGE:
        tabView_.BeginRename(document_.currentIndex());
        break;
    case ID_SHIFT_PAGE_LEFT:
    case ID_SHIFT_PAGE_RIGHT:
        pages_.ShiftCurrentPage(id == ID_SHIFT_PAGE_LEFT);
        ShowPages();
        break;
    case ID_OPEN_REGISTERED:
        pages_.OpenShownFile(*this);
        break;
    case ID_TOGGLE_REGISTERED:
        settings_.SetDontUseFileViewer(!settings_.DontUseFileViewer());
        break;
    case ID_FILE_NEW:
        documentCommands_.New();
        break;
    case ID_FILE_OPEN:
        documentCommands_.OpenChosen();
        break;
    case ID_FILE_SAVE:
        documentCommands_.Save();
        break;
    case ID_FILE_SAVE_AS:
        documentCommands_.SaveAs();
        break;
    case ID_FILE_PRINT:
    case ID_FILE_PRINT_PREVIEW:
        PrintResultPage(id == ID_FILE_PRINT_PREVIEW);
        break;
    case ID_FILE_PAGE_SETUP:
        ChoosePageSetup();
        break;
    case ID_FILE_REORGANIZE:
        document_.Reorganize(*this);
        break;
    case ID_CACHE_REORGANIZE:
        cache->RemoveObsolete(*this);
        break;
    case ID_CACHE_DELETE:
        cache->DeleteCache(*this);
        break;
    case ID_OPTIONS:
        RunOptionsDialog(context_.instance, hwnd(), settings_);
        viewer_->OptionsChanged();
        break;
    case ID_SHOW_DEFINITION:
        UnfoldPropertyBar();
        break;
    case ID_UNDO_REPLACEMENT:
        UndoReplacement();
        break;
    case ID_EDIT_COPY:
    case ID_EDIT_SELECT_ALL: {
        // The focused field's own copy; elsewhere the page's text.
        const HWND focus = GetFocus();
        const HWND target = IsEditField(focus) ? focus : tabView_.resultView();
        if (id == ID_EDIT_COPY)
            SendMessageW(target, WM_COPY, 0, 0);
        else
            SendMessageW(target, EM_SETSEL, 0, -1);
        break;
    }
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR: {
        const HWND bar = id == ID_VIEW_TOOLBAR ? toolbar_ : status_;
        ShowWindow(bar, IsWindowVisible(bar) ? SW_HIDE : SW_SHOW);
        Layout();
        break;
    }
    case ID_APP_ABOUT:
        RunAboutDialog(context_.instance, hwnd());
        break;
    case ID_APP_EXIT:
        PostMessageW(hwnd(), WM_CLOSE, 0, 0);
        break;
    default:
        if (id >= ID_FILE_MRU_FILE1 && id < ID_FILE_MRU_FILE1 + kRecentFileCount) {
            documentCommands_.OpenRecent(id - ID_FILE_MRU_FILE1);
            break;
        }
        return false;
    }
    UpdateCommandStates();
    return true;
}

bool CMainFrame::OnNotify(NMHDR& header, LRESULT& result) {
    if (header.code == TTN_GETDISPINFOW) {
        // The toolbar's tooltips: the second line of each command's prompt.
        auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
        tooltip_ = Wide(PromptLine(static_cast<UINT>(header.idFrom), true));
        info.lpszText = &tooltip_[0];
        result = 0;
        return true;
    }
    return false;
}

void CMainFrame::DefinitionPageChanged() {
    UpdateCommandStates();
}

void CMainFrame::UnfoldRequested() {
    UnfoldPropertyBar();
}

void CMainFrame::PageSelected(std::size_t index) {
    StoreWaitingRun();
    // The run writes into the current page: another page waits until it is over.
    if (!run_.flags().searching && !run_.flags().replacing && index != document_.currentIndex())
        pages_.ShowPage(index);
    ShowPages();
    UpdateCommandStates();
}

void CMainFrame::RenameRequested(std::size_t index) {
    StoreWaitingRun();
    if (run_.flags().searching || run_.flags().replacing)
        return;
    if (index != document_.currentIndex()) {
        pages_.ShowPage(index);
        ShowPages();
    }
    tabView_.BeginRename(index);
}

void CMainFrame::PageRenamed(std::size_t index, const std::string& caption) {
    StoreWaitingRun();
    pages_.RenamePage(index, caption);
    ShowPages();
}

void CMainFrame::TextPositionChosen(std::size_t position) {
    if (pages_.SelectAt(position))
        UpdateCommandStates();
}

void CMainFrame::TextPositionActivated(std::size_t position) {
    const int index = view_.ResultAt(position);
    if (index >= 0)
        pages_.ShowResult(static_cast<std::size_t>(index), IsReplacePage(), *this);
    UpdateCommandStates();
}

} // namespace sorbex
