// The mail command against the editor: its tree, its export, the add-in's settings and
// message box, and the two ways of sending.
#include "mail/win32/MailSubkeyCommand.h"

#include "host/DebugLog.h"
#include "host/win32/AddinContext.h"
#include "host/win32/AddinMessageBox.h"
#include "host/win32/AddinModule.h"
#include "host/win32/AddinSettings.h"
#include "host/win32/DebugWindow.h"
#include "host/win32/EditorTreeView.h"
#include "mail/MailCommand.h"
#include "mail/MailSettings.h"
#include "mail/win32/KeyExport.h"
#include "mail/win32/MailDialog.h"
#include "mail/win32/SendByMapi.h"
#include "settings/SettingsStore.h"

namespace keywright {

namespace {

class EditorMailHost : public MailCommandHost {
public:
    explicit EditorMailHost(HWND frame) : frame_(frame) {
        context_.instance = OwnInstance();
        context_.settings = &AddinSettings();
        context_.showMessage = [](HWND owner, const std::string& text, UINT flags) {
            return ShowAddinMessage(owner, text, flags);
        };
        context_.trace = [](const std::string& text) {
            OutputDebugStringA((text + "\r\n").c_str());
            if (DebugLog* log = AddinDebugLog())
                log->Write(text, true);
        };
    }

    bool SelectedKeyPath(std::string* path) override {
        std::optional<std::string> current = CurrentKeyPath(Addin().editor.tree);
        if (!current)
            return false;
        *path = *current;
        return true;
    }
    bool MakeTemporaryFile(std::string* path, std::string* error) override {
        return MakeTemporaryExportFile(path, error);
    }
    bool RunExport(const std::string& parameters) override {
        return RunEditorExport(frame_, parameters);
    }
    bool HoldsData(const std::string& path) override { return FileHoldsData(path); }
    std::uint32_t Delivery() override {
        return ReadNumberSetting(*context_.settings, kSettingDelivery, 1);
    }
    bool SendByMapi(const std::string& attachmentName, const std::string& path) override {
        return keywright::SendByMapi(frame_, attachmentName, path,
                                     [this](const std::string& text, UINT flags) {
                                         ShowAddinMessage(frame_, text, flags);
                                     });
    }
    bool OpenMailDialog(const std::string& attachmentName, const std::string& path) override {
        return RunMailDialog(context_, frame_, attachmentName, path);
    }
    void DeleteTemporaryFile(const std::string& path) override { DeleteFileA(path.c_str()); }
    void Warn(const std::string& text) override {
        ShowAddinMessage(frame_, text, MB_OK | MB_ICONEXCLAMATION);
    }

private:
    HWND frame_;
    MailWindowContext context_;
};

} // namespace

void RunMailSubkeyCommand(HWND frame) {
    EditorMailHost host(frame);
    RunMailCommand(host);
}

} // namespace keywright
