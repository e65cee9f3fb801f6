// The hidden control window: the modeless dialog 201, never shown. The launcher finds
// it by its title and drives the add-in with three messages.
#include "host/win32/HiddenControlWindow.h"

#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinMessages.h"
#include "host/win32/AddinModule.h"
#include "host/win32/Attach.h"
#include "host/win32/GotoUrl.h"
#include "host/win32/SharedText.h"
#include "platform/win32/ui/Dialog.h"
#include "resources/KeywrightResources.h"

#include <memory>
#include <string>

namespace keywright {

namespace {

HWND g_window = nullptr;

// The preview window comes with its own feature; until then the path is read so the
// launcher's protocol holds, and the user is told.
void PreviewSharedText() {
    std::string path;
    if (ReadSharedText(MAX_PATH, &path) != 0)
        return;
    ShowNotAvailableYet(Addin().editor.frame);
}

class HiddenControlWindow : public kestrix::ui::Dialog {
protected:
    bool OnInit() override {
        g_window = hwnd();
        return false;
    }
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) override {
        switch (message) {
        case kMsgAttach:
            Attach(reinterpret_cast<HWND>(lParam));
            return true;
        case kMsgGotoSharedText:
            GotoSharedText();
            return true;
        case kMsgPreviewSharedText:
            PreviewSharedText();
            return true;
        case kMsgNavigationEnded:
            EndHistoryNavigation(static_cast<unsigned>(wParam));
            return true;
        default:
            return false;
        }
    }
    bool OnClose() override {
        Destroy();
        return true;
    }
    void OnDestroy() override {
        if (g_window == hwnd())
            g_window = nullptr;
    }
};

} // namespace

HWND OpenHiddenControlWindow() {
    return kestrix::ui::Dialog::Open(std::make_unique<HiddenControlWindow>(), OwnInstance(),
                                     KW_IDD_HIDDEN, nullptr);
}

HWND HiddenControlWindowHandle() {
    return g_window;
}

} // namespace keywright
