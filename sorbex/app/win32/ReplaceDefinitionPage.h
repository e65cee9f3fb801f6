// The "Replace" definition page: the search expression for reference, the replacement
// text with its history and what it replaces.
#pragma once

#include <windows.h>

#include "app/DefinitionPages.h"
#include "platform/win32/ui/Dialog.h"

namespace sorbex {

class CReplaceDefinitionPage : public kestrix::ui::Dialog {
public:
    explicit CReplaceDefinitionPage(CDefinitionState& state) : state_(state) {}

    void ShowSearchExpression(const std::string& expression);
    CReplacePageValues Values() const;
    void SetValues(const CReplacePageValues& values);
    void AddHistory(const std::string& text);
    void StoreOptions() const;

protected:
    bool OnInit() override;

private:
    CDefinitionState& state_;
};

} // namespace sorbex
