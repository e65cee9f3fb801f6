// The "Replace" definition page: the search expression for reference, the replacement
// text with its history and what it replaces.
#include "app/win32/ReplaceDefinitionPage.h"

#include "app/win32/ComboFields.h"
#include "app/win32/ReplaceDefinitionPageIds.h"
#include "app/win32/WideText.h"

namespace sorbex {

bool CReplaceDefinitionPage::OnInit() {
    FillFromHistory(Item(IDC_REPLACE_WITH), state_.History(CHistoryKind::ReplaceString));
    for (std::size_t i = 0; i < kReplaceTagCount; ++i)
        SendItem(IDC_REPLACE_TAG, CB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(Wide(ReplaceTagCaption(i)).c_str()));
    const int tag = state_.options.replaceTag;
    SendItem(IDC_REPLACE_TAG, CB_SETCURSEL,
             static_cast<WPARAM>(tag >= 0 && static_cast<std::size_t>(tag) < kReplaceTagCount ? tag
                                                                                              : 0));
    return true;
}

void CReplaceDefinitionPage::ShowSearchExpression(const std::string& expression) {
    SetItemText(IDC_SEARCH_FOR, Wide(expression));
}

CReplacePageValues CReplaceDefinitionPage::Values() const {
    CReplacePageValues values;
    values.replaceString = FieldText(Item(IDC_REPLACE_WITH));
    const auto tag = static_cast<int>(SendItem(IDC_REPLACE_TAG, CB_GETCURSEL));
    values.replaceTag = tag < 0 ? 0 : tag;
    return values;
}

void CReplaceDefinitionPage::SetValues(const CReplacePageValues& values) {
    SetWindowTextW(Item(IDC_REPLACE_WITH), Wide(values.replaceString).c_str());
    SendItem(IDC_REPLACE_TAG, CB_SETCURSEL, static_cast<WPARAM>(values.replaceTag));
}

void CReplaceDefinitionPage::AddHistory(const std::string& text) {
    FollowHistoryChange(Item(IDC_REPLACE_WITH),
                        state_.History(CHistoryKind::ReplaceString).Add(text), text);
}

void CReplaceDefinitionPage::StoreOptions() const {
    state_.options.replaceTag = Values().replaceTag;
}

} // namespace sorbex
