// The options dialog: the keys of section "Options" and the file viewer's font.
#include "app/win32/OptionsDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include <cstring>
#include <iterator>

#include "undo/UndoJournal.h"
#include "viewer/ViewerFont.h"
#include "app/win32/OptionsDialogIds.h"
#include "app/win32/WideText.h"
#include "platform/win32/ui/Dialog.h"
#include "strings/SorbexStrings.h"

namespace sorbex {
namespace {

constexpr int kFontBoldWeight = 700;
constexpr int kPointsPerInch = 72;
constexpr int kTenths = 10;

// The encoding list: each choice of the profile key and its text, in the list's order.
struct EncodingItem {
    CEncodingChoice choice;
    unsigned text;
};
constexpr EncodingItem kEncodingItems[] = {
    {CEncodingChoice::Auto, IDS_ENCODING_AUTO},       {CEncodingChoice::Ansi, IDS_ENCODING_ANSI},
    {CEncodingChoice::Utf8, IDS_ENCODING_UTF8},       {CEncodingChoice::Utf16Le, IDS_ENCODING_UTF16LE},
    {CEncodingChoice::Utf16Be, IDS_ENCODING_UTF16BE},
};

// The number fields with their spin buttons: the setting each shows, the spin's range and
// the rule that brings what was typed into it.
struct NumberField {
    int edit;
    int spin;
    int low;
    int high;
    int (*clamp)(long field);
    int (CAppSettings::*read)();
    void (CAppSettings::*write)(int value);
};
constexpr NumberField kNumberFields[] = {
    {IDC_TAB_LIMIT, IDC_TAB_LIMIT_SPIN, 1, kMaxTabLimit, ClampTabLimitField,
     &CAppSettings::TabLimit, &CAppSettings::SetTabLimit},
    {IDC_UNDO_WALKS, IDC_UNDO_WALKS_SPIN, kMinUndoWalks, kMaxUndoWalks, ClampUndoWalksField,
     &CAppSettings::UndoWalks, &CAppSettings::SetUndoWalks},
    {IDC_UNDO_MEGABYTES, IDC_UNDO_MEGABYTES_SPIN, kMinUndoMegabytes, kMaxUndoMegabytesField,
     ClampUndoMegabytesField, &CAppSettings::UndoMegabytes, &CAppSettings::SetUndoMegabytes},
};

LOGFONTW LogFontOf(const CViewerFont& font, HWND window) {
    LOGFONTW log{};
    const std::wstring face = Wide(font.faceName).substr(0, LF_FACESIZE - 1);
    std::wmemcpy(log.lfFaceName, face.c_str(), face.size());
    const HDC dc = GetDC(window);
    log.lfHeight = -MulDiv(font.height, GetDeviceCaps(dc, LOGPIXELSY), kPointsPerInch * kTenths);
    ReleaseDC(window, dc);
    log.lfWeight = font.weight;
    const CFontStyle style = UnpackFontStyle(font.style);
    log.lfItalic = style.italic ? TRUE : FALSE;
    log.lfUnderline = style.underline ? TRUE : FALSE;
    log.lfStrikeOut = style.strikeOut ? TRUE : FALSE;
    log.lfPitchAndFamily = style.pitchAndFamily;
    log.lfCharSet = style.charSet;
    return log;
}

class COptionsDialog : public kestrix::ui::Dialog {
public:
    explicit COptionsDialog(CAppSettings& settings) : settings_(settings) {}

protected:
    bool OnInit() override {
        SetChecked(IDC_DONT_USE_VIEWER, settings_.DontUseFileViewer());
        SetChecked(IDC_AUTO_LOAD, settings_.AutoLoad());
        SetChecked(IDC_LIMIT_TABS, settings_.LimitTabs());
        for (const NumberField& field : kNumberFields) {
            SendItem(field.spin, UDM_SETRANGE32, static_cast<WPARAM>(field.low), field.high);
            SendItem(field.spin, UDM_SETPOS32, 0, field.clamp((settings_.*field.read)()));
        }
        SetChecked(IDC_INTERNAL_FILTER, settings_.UseInternalFilter());
        SetChecked(IDC_EXTERNAL_FILTER, settings_.UseExternalFilter());
        ShowEncoding(settings_.Encoding());
        font_ = settings_.ViewerFont();
        ShowFont();
        EnableLimit();
        return true;
    }

    bool OnCommand(WORD id, WORD, HWND) override {
        switch (id) {
        case IDC_LIMIT_TABS:
            EnableLimit();
            return true;
        case IDC_VIEWER_FONT:
            ChooseViewerFont();
            return true;
        case IDOK:
            Store();
            End(IDOK);
            return true;
        default:
            return false;
        }
    }

private:
    void EnableLimit() {
        const bool on = IsChecked(IDC_LIMIT_TABS);
        EnableItem(IDC_TAB_LIMIT, on);
        EnableItem(IDC_TAB_LIMIT_SPIN, on);
    }

    void ShowEncoding(CEncodingChoice choice) {
        for (std::size_t i = 0; i < std::size(kEncodingItems); ++i) {
            const std::wstring text = Wide(SorbexString(kEncodingItems[i].text));
            SendItem(IDC_ENCODING, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            if (kEncodingItems[i].choice == choice)
                SendItem(IDC_ENCODING, CB_SETCURSEL, static_cast<WPARAM>(i));
        }
    }

    CEncodingChoice ChosenEncoding() {
        const auto index = static_cast<std::size_t>(SendItem(IDC_ENCODING, CB_GETCURSEL));
        // Nothing chosen (CB_ERR) keeps the default.
        return index < std::size(kEncodingItems) ? kEncodingItems[index].choice
                                                 : CEncodingChoice::Auto;
    }

    void ShowFont() { SetItemText(IDC_FONT_DESCRIPTION, Wide(DescribeViewerFont(font_, true))); }

    void ChooseViewerFont() {
        LOGFONTW log = LogFontOf(font_, hwnd());
        wchar_t style[LF_FACESIZE] = {};
        const std::wstring styleName = Wide(font_.styleName).substr(0, LF_FACESIZE - 1);
        std::wmemcpy(style, styleName.c_str(), styleName.size());
        CHOOSEFONTW choose{};
        choose.lStructSize = sizeof choose;
        choose.hwndOwner = hwnd();
        choose.lpLogFont = &log;
        choose.lpszStyle = style;
        choose.rgbColors = static_cast<COLORREF>(font_.color);
        // The viewer's font choice always includes its effects.
        choose.Flags = CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT | CF_USESTYLE;
        if (!ChooseFontW(&choose))
            return;
        font_.faceName = Narrow(log.lfFaceName);
        font_.styleName = Narrow(style);
        font_.height = choose.iPointSize;
        font_.weight = log.lfWeight;
        CFontStyle effects;
        effects.italic = log.lfItalic != 0;
        effects.bold = log.lfWeight >= kFontBoldWeight;
        effects.underline = log.lfUnderline != 0;
        effects.strikeOut = log.lfStrikeOut != 0;
        effects.pitchAndFamily = log.lfPitchAndFamily;
        effects.charSet = log.lfCharSet;
        font_.style = PackFontStyle(effects);
        font_.color = static_cast<std::uint32_t>(choose.rgbColors);
        ShowFont();
    }

    void Store() {
        settings_.SetDontUseFileViewer(IsChecked(IDC_DONT_USE_VIEWER));
        settings_.SetAutoLoad(IsChecked(IDC_AUTO_LOAD));
        settings_.SetLimitTabs(IsChecked(IDC_LIMIT_TABS));
        for (const NumberField& field : kNumberFields) {
            BOOL readable = FALSE;
            const long typed = static_cast<long>(
                static_cast<int>(GetDlgItemInt(hwnd(), field.edit, &readable, TRUE)));
            (settings_.*field.write)(field.clamp(readable ? typed : 0));
        }
        settings_.SetUseInternalFilter(IsChecked(IDC_INTERNAL_FILTER));
        settings_.SetUseExternalFilter(IsChecked(IDC_EXTERNAL_FILTER));
        settings_.SetEncoding(ChosenEncoding());
        settings_.SetViewerFont(font_);
    }

    CAppSettings& settings_;
    CViewerFont font_;
};

} // namespace

bool RunOptionsDialog(HINSTANCE instance, HWND owner, CAppSettings& settings) {
    COptionsDialog dialog(settings);
    return dialog.RunModal(instance, IDD_OPTIONS, owner) == IDOK;
}

} // namespace sorbex
