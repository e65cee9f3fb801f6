// The "Search" definition page: expression, file mask and directory with their histories,
// the insert menus, the file and directory choosers, the method and the options.
#pragma once

#include <windows.h>

#include "app/DefinitionPages.h"
#include "app/InsertMenus.h"
#include "platform/win32/ui/Dialog.h"

namespace sorbex {

class CSearchDefinitionPage : public kestrix::ui::Dialog {
public:
    explicit CSearchDefinitionPage(CDefinitionState& state) : state_(state) {}

    CSearchPageValues Values() const;
    // Adds a text to one of the page's histories, as the run does when it starts.
    void AddHistory(CHistoryKind kind, const std::string& text);
    // The options go back into the state that is written to the profile.
    void StoreOptions() const;

    // For tests and the run: the page's fields.
    void SetValues(const CSearchPageValues& values);

protected:
    bool OnInit() override;
    bool OnCommand(WORD id, WORD code, HWND control) override;

private:
    HWND ComboOf(CHistoryKind kind) const;
    void ApplyMethodRule();
    // Shows an insert menu below the button's right edge and inserts what was chosen.
    void RunInsertMenu(CInsertMenuKind kind, int button, int field, unsigned firstCommand);
    void ChooseFiles();
    void ChooseDirectory();

    CDefinitionState& state_;
};

} // namespace sorbex
