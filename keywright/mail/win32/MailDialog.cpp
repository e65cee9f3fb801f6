// The mail dialog: fields bound to a CMailMessage, the setup window, the status window,
// and the layout kept when the dialog is resized.
#include "mail/win32/MailDialog.h"

#include "host/win32/AddinMessages.h"
#include "mail/MailDialogModel.h"
#include "mail/MailSettings.h"
#include "mail/MessageBuilder.h"
#include "mail/win32/DialogAnsiText.h"
#include "mail/win32/KeyExport.h"
#include "mail/win32/MailDialogIds.h"
#include "mail/win32/MailSetupWindow.h"
#include "mail/win32/SmtpStatusWindow.h"
#include "mail/win32/WinSockLib.h"
#include "platform/FileSystem.h"
#include "settings/SettingsStore.h"
#include "settings/WindowPosition.h"
#include "strings/KeywrightStrings.h"

#include <memory>
#include <utility>

namespace keywright {

namespace {

// The controls that the layout moves, in the order of MailDialogPart.
constexpr int kLaidOutControls[kMailPartCount] = {
    KW_IDC_MAIL_SEND, IDCANCEL, KW_IDC_MAIL_SETUP, KW_IDC_MAIL_FROM, KW_IDC_MAIL_TO,
    KW_IDC_MAIL_CC, KW_IDC_MAIL_SUBJECT, KW_IDC_MAIL_ATTACHMENT, KW_IDC_MAIL_BODY,
};

class MailDialog : public kestrix::ui::Dialog {
public:
    MailDialog(const MailWindowContext& context, std::string attachmentName, std::string path)
        : context_(context), attachmentName_(std::move(attachmentName)), path_(std::move(path)) {}

protected:
    bool OnInit() override {
        library_ = std::make_unique<CWinSockLib>();
        if (unsigned failure = WinSockFailureString(library_->outcome())) {
            Warn(KeywrightString(failure));
            End(IDCANCEL);
            return true;
        }
        if (UsableServerName(ReadTextSetting(*context_.settings, kSettingSmtpServer)).empty())
            Post(kMsgOpenMailSetup);
        else
            FillFrom();
        SetFocus(Item(KW_IDC_MAIL_TO));

        RECT window = {};
        GetWindowRect(hwnd(), &window);
        minimum_ = {window.right - window.left, window.bottom - window.top};
        initial_ = MeasureLayout();
        ScreenRect place;
        const std::string saved = ReadTextSetting(*context_.settings, kSettingEmailWindowPos);
        if (ParseWindowPlace(saved.c_str(), &place))
            MoveWindow(hwnd(), place.left, place.top, place.right - place.left,
                       place.bottom - place.top, TRUE);
        return false;
    }

    bool HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) override {
        if (message == WM_GETMINMAXINFO && minimum_.x > 0) {
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = minimum_;
            result = 0;
            return true;
        }
        if (message == kMsgOpenMailSetup) {
            // A modal dialog shows itself only once its queue is empty; the setup window
            // goes over it, not in its place.
            ShowWindow(hwnd(), SW_SHOW);
            UpdateWindow(hwnd());
            OpenSetup();
            result = 0;
            return true;
        }
        return false;
    }

    bool OnCommand(WORD id, WORD, HWND) override {
        switch (id) {
        case KW_IDC_MAIL_SEND:
            SendMail();
            return true;
        case KW_IDC_MAIL_SETUP:
            OpenSetup();
            return true;
        default:
            return false;
        }
    }

    bool OnSize(UINT kind, int width, int height) override {
        if (kind == SIZE_MINIMIZED || initial_.width == 0)
            return false;
        const MailDialogLayout layout = LayOutMailDialog(initial_, width, height);
        for (int part = 0; part < kMailPartCount; ++part) {
            const Box& box = layout.parts[part];
            MoveWindow(Item(kLaidOutControls[part]), box.left, box.top, box.right - box.left,
                       box.bottom - box.top, TRUE);
        }
        return true;
    }

    void OnDestroy() override {
        RECT window = {};
        if (library_ && library_->outcome() == CWinSockLib::Outcome::Loaded &&
            GetWindowRect(hwnd(), &window))
            WriteTextSetting(*context_.settings, kSettingEmailWindowPos,
                             FormatWindowPlace({window.left, window.top, window.right, window.bottom}));
        library_.reset();
    }

private:
    void Warn(const std::string& text) { context_.showMessage(hwnd(), text, MB_OK | MB_ICONEXCLAMATION); }

    void FillFrom() {
        const MailSettings settings = LoadMailSettings(*context_.settings);
        SetItemAnsiText(*this, KW_IDC_MAIL_FROM, FromField(settings.fullName, settings.address));
    }

    void OpenSetup() {
        if (RunMailSetupWindow(context_, hwnd()))
            FillFrom();
    }

    MailDialogLayout MeasureLayout() const {
        MailDialogLayout layout;
        RECT client = {};
        GetClientRect(hwnd(), &client);
        layout.width = client.right;
        layout.height = client.bottom;
        for (int part = 0; part < kMailPartCount; ++part) {
            RECT r = {};
            GetWindowRect(Item(kLaidOutControls[part]), &r);
            MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&r), 2);
            layout.parts[part] = {r.left, r.top, r.right, r.bottom};
        }
        return layout;
    }

    void SendMail() {
        CMailMessage message;
        message.from = ItemAnsiText(*this, KW_IDC_MAIL_FROM);
        if (message.from.empty())
            return;
        message.to = ItemAnsiText(*this, KW_IDC_MAIL_TO);
        message.cc = ItemAnsiText(*this, KW_IDC_MAIL_CC);
        message.subject = ItemAnsiText(*this, KW_IDC_MAIL_SUBJECT);
        message.body = ItemAnsiText(*this, KW_IDC_MAIL_BODY);
        message.attachmentName = attachmentName_;
        message.attachmentPath = path_;

        SystemMailTime time;
        std::unique_ptr<kestrix::FileSystem> files = kestrix::MakeSystemFileSystem();
        MailBuildContext build;
        build.warn = [this](const std::string& text) { Warn(text); };
        build.time = &time;
        build.files = files.get();
        if (!BuildMessage(message, build))
            return;
        const MailSettings settings = LoadMailSettings(*context_.settings);
        const std::string server = UsableServerName(settings.server);
        if (server.empty()) {
            context_.showMessage(hwnd(), KeywrightString(kStrServerMissing), MB_OK);
            return;
        }
        const std::uint16_t port = UsablePort(settings.port);
        if (port == 0) {
            Warn(KeywrightStringWith(kStrPortInvalid, std::to_string(settings.port)));
            return;
        }
        if (RunSmtpStatusWindow(context_, hwnd(), *library_, message, server, port))
            End(IDOK);
    }

    const MailWindowContext& context_;
    std::string attachmentName_;
    std::string path_;
    std::unique_ptr<CWinSockLib> library_;
    POINT minimum_ = {0, 0};
    MailDialogLayout initial_;
};

} // namespace

bool RunMailDialog(const MailWindowContext& context, HWND owner, const std::string& attachmentName,
                   const std::string& path) {
    MailDialog dialog(context, attachmentName, path);
    return dialog.RunModal(context.instance, KW_IDD_MAIL, owner) == IDOK;
}

} // namespace keywright
