// The debug window is the modeless dialog 224 around a read-only edit control. Lines
// come from any thread of the editor, so they travel to it as messages.
#include "host/win32/DebugWindow.h"

#include "host/win32/AddinMessages.h"
#include "host/win32/AddinModule.h"
#include "host/win32/AddinSettings.h"
#include "host/win32/HookProcedure.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Dialog.h"
#include "resources/KeywrightResources.h"
#include "settings/SettingsStore.h"

#include <atomic>
#include <memory>
#include <string>

namespace keywright {

namespace {

constexpr wchar_t kLineEnd[] = L"\r\n";

// The open window, for the logging threads; set and cleared on the editor's thread.
std::atomic<HWND> g_window{nullptr};

class DebugWindowLog : public DebugLog {
public:
    void Write(const std::string& text, bool endLine) override {
        HWND window = g_window.load();
        if (!window)
            return;
        std::string line(static_cast<std::size_t>(indent_.load()), ' ');
        line += text;
        SendMessageW(window, kMsgDebugAppend, endLine ? 1 : 0,
                     reinterpret_cast<LPARAM>(line.c_str()));
    }
    void Indent(int delta) override { indent_ += delta; }

private:
    std::atomic<int> indent_{0};
};

DebugWindowLog g_log;

class DebugWindow : public kestrix::ui::Dialog {
protected:
    bool OnInit() override {
        // The log grows for as long as the editor runs.
        SendItem(KW_IDC_DEBUG_LOG, EM_SETLIMITTEXT, 0, 0);
        // The saved place, or the dialog's own size centred over the editor.
        PlaceSavedWindow(hwnd(), kSettingDebugWindowPos, POINT{0, 0});
        g_window = hwnd();
        return true;
    }
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        if (message != kMsgDebugAppend)
            return false;
        Append(kestrix::WideFromAnsi(reinterpret_cast<const char*>(lParam)), wParam != 0);
        result = 0;
        return true;
    }
    bool OnSize(UINT, int width, int height) override {
        MoveWindow(Item(KW_IDC_DEBUG_LOG), 0, 0, width, height, TRUE);
        return true;
    }
    bool OnClose() override {
        Destroy();
        return true;
    }
    void OnDestroy() override {
        SaveWindowPlace(hwnd(), kSettingDebugWindowPos);
        g_window = nullptr;
    }

private:
    void Append(const std::wstring& text, bool endLine) const {
        HWND edit = Item(KW_IDC_DEBUG_LOG);
        int end = GetWindowTextLengthW(edit);
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(end), end);
        SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        if (endLine)
            SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(kLineEnd));
    }
};

} // namespace

void OpenDebugWindow() {
    if (g_window.load())
        return;
    // On the desktop rather than owned, so it stays put while the editor is minimised.
    OpenModelessWindow(std::make_unique<DebugWindow>(), KW_IDD_DEBUG, SW_SHOWNOACTIVATE);
}

DebugLog* AddinDebugLog() {
    return g_window.load() ? &g_log : nullptr;
}

} // namespace keywright
