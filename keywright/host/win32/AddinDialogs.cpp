// The about box shows the add-in's name and version; the options dialog keeps one
// setting, Delivery: 1 sends mail through the system's mail program, 0 through the
// add-in's own SMTP client.
#include "host/win32/AddinDialogs.h"

#include "host/win32/AddinContext.h"
#include "resources/KeywrightResources.h"
#include "settings/SettingsStore.h"
#include "strings/KeywrightStrings.h"

#include <cstdint>
#include <cstdio>

namespace keywright {

namespace {

constexpr int kVersionMajor = 0;
constexpr int kVersionMinor = 1;
constexpr int kBuildNumber = 0;

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        SetDlgItemTextA(dialog, KW_IDC_ABOUT_TITLE, KeywrightString(kStrAddinTitle));
        char version[64] = {};
        // The format comes from our own string table, never from outside.
        if (const char* format = KeywrightString(kStrAboutVersion))
            std::snprintf(version, sizeof version, format, kVersionMajor, kVersionMinor,
                          kBuildNumber);
        SetDlgItemTextA(dialog, KW_IDC_ABOUT_VERSION, version);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR CALLBACK OptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: {
        std::uint32_t delivery = 1;
        ReadSetting(AddinSettings(), kSettingDelivery, &delivery, sizeof delivery);
        int chosen = static_cast<std::int32_t>(delivery) > 0 ? KW_IDC_DELIVERY_SYSTEM_MAIL
                                                             : KW_IDC_DELIVERY_SMTP;
        CheckRadioButton(dialog, KW_IDC_DELIVERY_SYSTEM_MAIL, KW_IDC_DELIVERY_SMTP, chosen);
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            std::uint32_t delivery =
                IsDlgButtonChecked(dialog, KW_IDC_DELIVERY_SYSTEM_MAIL) == BST_CHECKED ? 1 : 0;
            WriteSetting(AddinSettings(), kSettingDelivery, &delivery, sizeof delivery);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

} // namespace

void ShowAboutBox(HWND owner) {
    DialogBoxParamW(Addin().ownInstance, MAKEINTRESOURCEW(KW_IDD_ABOUT), owner, AboutProc, 0);
}

void ShowOptionsDialog(HWND owner) {
    DialogBoxParamW(Addin().ownInstance, MAKEINTRESOURCEW(KW_IDD_OPTIONS), owner, OptionsProc, 0);
}

} // namespace keywright
