// The setup window: the mail settings bound to four fields.
#include "mail/win32/MailSetupWindow.h"

#include "mail/MailDialogModel.h"
#include "mail/MailSettings.h"
#include "mail/win32/MailSetupWindowIds.h"
#include "mail/win32/DialogAnsiText.h"
#include "strings/KeywrightStrings.h"

#include <string>

namespace keywright {

namespace {

class MailSetupWindow : public kestrix::ui::Dialog {
public:
    explicit MailSetupWindow(const MailWindowContext& context) : context_(context) {}

protected:
    bool OnInit() override {
        const MailSettings settings = LoadMailSettings(*context_.settings);
        SetText(KW_IDC_SETUP_FULL_NAME, settings.fullName);
        SetText(KW_IDC_SETUP_ADDRESS, settings.address);
        SetText(KW_IDC_SETUP_SERVER, settings.server);
        SetText(KW_IDC_SETUP_PORT, std::to_string(settings.port));
        // The texts are read back into buffers of this size.
        for (int id : {KW_IDC_SETUP_FULL_NAME, KW_IDC_SETUP_ADDRESS, KW_IDC_SETUP_SERVER})
            SendItem(id, EM_LIMITTEXT, kMailSettingCapacity - 1);
        return true;
    }

    bool OnCommand(WORD id, WORD, HWND) override {
        if (id != IDOK)
            return false;
        MailSettings settings;
        settings.server = UsableServerName(Text(KW_IDC_SETUP_SERVER));
        if (settings.server.empty()) {
            context_.showMessage(hwnd(), KeywrightString(kStrServerBlank), MB_OK);
            return true;
        }
        settings.fullName = Text(KW_IDC_SETUP_FULL_NAME);
        settings.address = Text(KW_IDC_SETUP_ADDRESS);
        settings.port = ParsePortField(Text(KW_IDC_SETUP_PORT));
        StoreMailSettings(*context_.settings, settings);
        End(IDOK);
        return true;
    }

private:
    std::string Text(int id) const { return ItemAnsiText(*this, id); }
    void SetText(int id, const std::string& text) const { SetItemAnsiText(*this, id, text); }

    const MailWindowContext& context_;
};

} // namespace

bool RunMailSetupWindow(const MailWindowContext& context, HWND owner) {
    MailSetupWindow window(context);
    return window.RunModal(context.instance, KW_IDD_MAIL_SETUP, owner) == IDOK;
}

} // namespace keywright
