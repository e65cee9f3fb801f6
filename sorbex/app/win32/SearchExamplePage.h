// The "Examples" definition page: example expressions and what they find.
#pragma once

#include "platform/win32/ui/Dialog.h"

namespace sorbex {

class CSearchExamplePage : public kestrix::ui::Dialog {
protected:
    bool OnInit() override;
    bool OnSize(UINT kind, int width, int height) override;
};

} // namespace sorbex
