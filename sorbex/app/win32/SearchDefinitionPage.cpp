// The "Search" definition page: expression, file mask and directory with their histories,
// the insert menus, the file and directory choosers, the method and the options.
#include "app/win32/SearchDefinitionPage.h"

#include "app/DefinitionRules.h"
#include "app/win32/ComboFields.h"
#include "app/win32/FileChoosers.h"
#include "app/win32/SearchDefinitionPageIds.h"
#include "app/win32/SorbexIds.h"
#include "app/win32/WideText.h"

namespace sorbex {
namespace {

constexpr CHistoryKind kPageHistories[] = {CHistoryKind::SearchExpression, CHistoryKind::FileName,
                                           CHistoryKind::Directory};

} // namespace

HWND CSearchDefinitionPage::ComboOf(CHistoryKind kind) const {
    switch (kind) {
    case CHistoryKind::FileName:
        return Item(IDC_FILE_MASK);
    case CHistoryKind::Directory:
        return Item(IDC_DIRECTORY);
    default:
        return Item(IDC_EXPRESSION);
    }
}

bool CSearchDefinitionPage::OnInit() {
    for (CHistoryKind kind : kPageHistories)
        FillFromHistory(ComboOf(kind), state_.History(kind));
    for (std::size_t i = 0; i < kMethodCount; ++i)
        SendItem(IDC_SEARCH_METHOD, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Wide(MethodCaption(i)).c_str()));
    const CSearchOptionValues& o = state_.options;
    SendItem(IDC_SEARCH_METHOD, CB_SETCURSEL,
             static_cast<WPARAM>(o.searchMethod == kMethodPhonetic ? 1 : 0));
    SetChecked(IDC_WHOLE_WORDS, o.matchWholeWords != 0);
    SetChecked(IDC_CASE_SENSITIVE, o.matchCase != 0);
    SetChecked(IDC_SUBDIRECTORIES, o.withSubDirectories != 0);
    ApplyMethodRule();
    return true;
}

void CSearchDefinitionPage::ApplyMethodRule() {
    const auto method = static_cast<int>(SendItem(IDC_SEARCH_METHOD, CB_GETCURSEL));
    EnableItem(IDC_CASE_SENSITIVE, CaseSensitiveEnabled(method));
}

CSearchPageValues CSearchDefinitionPage::Values() const {
    CSearchPageValues values;
    values.expression = FieldText(Item(IDC_EXPRESSION));
    values.fileMask = FieldText(Item(IDC_FILE_MASK));
    values.directory = FieldText(Item(IDC_DIRECTORY));
    const auto method = static_cast<int>(SendItem(IDC_SEARCH_METHOD, CB_GETCURSEL));
    values.searchMethod = method == kMethodPhonetic ? kMethodPhonetic : kMethodStandard;
    values.matchWholeWords = IsChecked(IDC_WHOLE_WORDS) ? 1 : 0;
    values.matchCase = IsChecked(IDC_CASE_SENSITIVE) ? 1 : 0;
    values.withSubDirectories = IsChecked(IDC_SUBDIRECTORIES) ? 1 : 0;
    return values;
}

void CSearchDefinitionPage::SetValues(const CSearchPageValues& values) {
    SetWindowTextW(Item(IDC_EXPRESSION), Wide(values.expression).c_str());
    SetWindowTextW(Item(IDC_FILE_MASK), Wide(values.fileMask).c_str());
    SetWindowTextW(Item(IDC_DIRECTORY), Wide(values.directory).c_str());
    SendItem(IDC_SEARCH_METHOD, CB_SETCURSEL, static_cast<WPARAM>(values.searchMethod));
    SetChecked(IDC_WHOLE_WORDS, values.matchWholeWords != 0);
    SetChecked(IDC_CASE_SENSITIVE, values.matchCase != 0);
    SetChecked(IDC_SUBDIRECTORIES, values.withSubDirectories != 0);
    ApplyMethodRule();
}

void CSearchDefinitionPage::AddHistory(CHistoryKind kind, const std::string& text) {
    FollowHistoryChange(ComboOf(kind), state_.History(kind).Add(text), text);
}

void CSearchDefinitionPage::StoreOptions() const {
    const CSearchPageValues values = Values();
    state_.options.searchMethod = values.searchMethod;
    state_.options.matchWholeWords = values.matchWholeWords;
    state_.options.matchCase = values.matchCase;
    state_.options.withSubDirectories = values.withSubDirectories;
}

bool CSearchDefinitionPage::OnCommand(WORD id, WORD code, HWND) {
    switch (id) {
    case IDC_SEARCH_METHOD:
        if (code == CBN_SELCHANGE)
            ApplyMethodRule();
        return true;
    case IDC_OPERATOR_MENU:
        RunInsertMenu(CInsertMenuKind::Operator, id, IDC_EXPRESSION, ID_INSERT_OPERATOR_FIRST);
        return true;
    case IDC_CHARACTER_MENU:
        RunInsertMenu(CInsertMenuKind::Character, id, IDC_EXPRESSION, ID_INSERT_CHARACTER_FIRST);
        return true;
    case IDC_FILE_NAME_MENU:
        RunInsertMenu(CInsertMenuKind::FileName, id, IDC_FILE_MASK, ID_INSERT_FILE_NAME_FIRST);
        return true;
    case IDC_CHOOSE_FILES:
        ChooseFiles();
        return true;
    case IDC_CHOOSE_DIRECTORY:
        ChooseDirectory();
        return true;
    default:
        return false;
    }
}

void CSearchDefinitionPage::RunInsertMenu(CInsertMenuKind kind, int button, int field,
                                          unsigned firstCommand) {
    const bool phonetic = SendItem(IDC_SEARCH_METHOD, CB_GETCURSEL) == kMethodPhonetic;
    const HMENU menu = CreatePopupMenu();
    for (const CInsertMenuEntry& entry : InsertMenuLines(kind, phonetic)) {
        if (entry.separator())
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu, MF_STRING, firstCommand + entry.index,
                        Wide(entry.item->caption).c_str());
    }
    RECT rect{};
    GetWindowRect(Item(button), &rect);
    const auto command = static_cast<unsigned>(
        TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_NONOTIFY,
                       rect.right, rect.bottom, 0, hwnd(), nullptr));
    DestroyMenu(menu);
    if (command < firstCommand)
        return;
    const CInsertItem* item = InsertMenuChoice(kind, command - firstCommand);
    if (!item)
        return;
    const HWND combo = Item(field);
    SetFieldState(combo, InsertAtSelection(FieldState(combo), item->text, item->caret));
}

void CSearchDefinitionPage::ChooseFiles() {
    const HWND mask = Item(IDC_FILE_MASK);
    const HWND directory = Item(IDC_DIRECTORY);
    const std::string directoryText = FieldText(directory);
    const CChosenFiles chosen =
        SplitChosenFiles(sorbex::ChooseFiles(hwnd(), LastDirectory(directoryText)));
    if (!chosen.names.empty()) {
        if (ChosenFolderDiffers(chosen.folder, directoryText))
            SetWindowTextW(directory, Wide(chosen.folder).c_str());
        SetFieldState(mask, ApplyChosenFiles(FieldState(mask), chosen.names));
    }
    SetFocus(mask);
}

void CSearchDefinitionPage::ChooseDirectory() {
    const HWND directory = Item(IDC_DIRECTORY);
    const CEditState field = FieldState(directory);
    const std::string folder = ChooseFolder(hwnd(), LastDirectory(field.text));
    if (!folder.empty())
        SetFieldState(directory, ApplyChosenFolder(field, folder));
    SetFocus(directory);
}

} // namespace sorbex
