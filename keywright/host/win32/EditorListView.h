// The editor's list view seen as a list of values.
#pragma once

#include "host/ValueLocator.h"

#include <windows.h>

namespace keywright {

// Drives the list view with messages, so it works from any thread of the process.
class EditorListView : public ValueList {
public:
    explicit EditorListView(HWND list) : list_(list) {}
    int ItemCount() override;
    std::string ItemText(int index) override;
    void SetSelected(int index, bool selected) override;
    void EnsureVisible(int index) override;

private:
    HWND list_;
};

} // namespace keywright
