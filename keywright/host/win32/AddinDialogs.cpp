// The about box shows the add-in's name and version; the options dialog keeps one
// setting, Delivery: 1 sends mail through the system's mail program, 0 through the
// add-in's own SMTP client.
#include "host/win32/AddinDialogs.h"

#include "host/win32/AddinModule.h"
#include "host/win32/AddinSettings.h"
#include "KestrixVersion.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Dialog.h"
#include "resources/KeywrightResources.h"
#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"

#include <cstdint>
#include <cstdio>

namespace keywright {

namespace {

// The release's version (the VERSION file); its third part is the build number.
constexpr int kVersionMajor = KESTRIX_VERSION_MAJOR;
constexpr int kVersionMinor = KESTRIX_VERSION_MINOR;
constexpr int kBuildNumber = KESTRIX_VERSION_PATCH;
constexpr std::size_t kVersionText = 64;

class AboutBox : public kestrix::ui::Dialog {
protected:
    bool OnInit() override {
        SetItemText(KW_IDC_ABOUT_TITLE, kestrix::WideFromAnsi(KeywrightString(kStrAddinTitle)));
        char version[kVersionText] = {};
        // The format comes from our own string table, never from outside.
        if (const char* format = KeywrightString(kStrAboutVersion))
            std::snprintf(version, sizeof version, format, kVersionMajor, kVersionMinor,
                          kBuildNumber);
        SetItemText(KW_IDC_ABOUT_VERSION, kestrix::WideFromAnsi(version));
        return true;
    }
};

class OptionsDialog : public kestrix::ui::Dialog {
protected:
    bool OnInit() override {
        std::uint32_t delivery = kDeliverySystemMail;
        ReadSetting(AddinSettings(), kSettingDelivery, &delivery, sizeof delivery);
        int chosen = static_cast<std::int32_t>(delivery) > 0 ? KW_IDC_DELIVERY_SYSTEM_MAIL
                                                             : KW_IDC_DELIVERY_SMTP;
        CheckRadioButton(hwnd(), KW_IDC_DELIVERY_SYSTEM_MAIL, KW_IDC_DELIVERY_SMTP, chosen);
        return true;
    }
    bool OnCommand(WORD id, WORD, HWND) override {
        if (id != IDOK)
            return false; // Cancel ends the dialog by default
        std::uint32_t delivery =
            IsChecked(KW_IDC_DELIVERY_SYSTEM_MAIL) ? kDeliverySystemMail : kDeliverySmtp;
        WriteSetting(AddinSettings(), kSettingDelivery, &delivery, sizeof delivery);
        End(IDOK);
        return true;
    }

private:
    static constexpr std::uint32_t kDeliverySystemMail = 1;
    static constexpr std::uint32_t kDeliverySmtp = 0;
};

} // namespace

void ShowAboutBox(HWND owner) {
    AboutBox box;
    box.RunModal(OwnInstance(), KW_IDD_ABOUT, owner);
}

void ShowOptionsDialog(HWND owner) {
    OptionsDialog dialog;
    dialog.RunModal(OwnInstance(), KW_IDD_OPTIONS, owner);
}

} // namespace keywright
