// The status window: a thin adapter between the socket library's events, the SMTP
// session and protocol, and the status model that it draws.
#include "mail/win32/SmtpStatusWindow.h"

#include "host/win32/AddinMessages.h"
#include "mail/SmtpSession.h"
#include "mail/SmtpStatusModel.h"
#include "mail/win32/SmtpStatusWindowIds.h"
#include "mail/win32/SocketErrorWindow.h"
#include "mail/win32/WinSockSocket.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Dialog.h"
#include "strings/KeywrightStrings.h"

#include <commctrl.h>

#include <memory>
#include <utility>

namespace keywright {

namespace {

constexpr int kResponsesColumnWidth = 500; // pixels

class SmtpStatusWindow : public kestrix::ui::Dialog, public SmtpSessionUi {
public:
    SmtpStatusWindow(const MailWindowContext& context, const CWinSockLib& library,
                     const CMailMessage& message, std::string server, std::uint16_t port)
        : context_(context), library_(library), message_(message), server_(std::move(server)),
          port_(port) {}

protected:
    bool OnInit() override {
        model_ = std::make_unique<SmtpStatusModel>(
            kestrix::AnsiFromWide(ItemText(KW_IDC_SMTP_DETAILS)));
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.cx = kResponsesColumnWidth;
        std::wstring title = kestrix::WideFromAnsi(KeywrightString(kStrResponsesColumn));
        column.pszText = &title[0];
        SendItem(KW_IDC_SMTP_RESPONSES, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

        // The details take the window's lower part; closed, the window ends below the
        // buttons.
        RECT window = {}, list = {}, button = {};
        GetWindowRect(hwnd(), &window);
        GetWindowRect(Item(KW_IDC_SMTP_RESPONSES), &list);
        GetWindowRect(Item(IDCANCEL), &button);
        openHeight_ = window.bottom - window.top;
        closedHeight_ = openHeight_ - (list.bottom - button.bottom);
        ShowDetails();

        socket_ = std::make_unique<WinSockSocket>(library_, hwnd());
        session_ = std::make_unique<CSmtpSession>(*socket_, *this);
        protocol_ = std::make_unique<CSmtpProtocol>(message_, *session_);
        Post(kMsgStatusStart);
        return true;
    }

    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
        result = 0;
        switch (message) {
        case kMsgStatusStart:
            protocol_->Start();
            if (!session_->Connect(server_, port_, *protocol_))
                End(IDCANCEL);
            return true;
        case kMsgSocketEvent:
            // Events of a socket closed since are still queued now and then.
            if (socket_ && socket_->Owns(wParam))
                session_->OnSocketEvent(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
            return true;
        case kMsgSendPending:
            session_->SendPending();
            return true;
        case kMsgAddResponse:
            AddRow(wParam == 1, reinterpret_cast<const char*>(lParam));
            return true;
        case kMsgSetStatus: {
            const bool wasOpen = model_->detailsOpen();
            model_->SetStatus(static_cast<unsigned>(lParam), wParam == 1);
            SetItemText(KW_IDC_SMTP_STATUS_TEXT, kestrix::WideFromAnsi(model_->status()));
            if (model_->detailsOpen() != wasOpen)
                ShowDetails();
            return true;
        }
        default:
            return false;
        }
    }

    bool OnCommand(WORD id, WORD, HWND) override {
        if (id != KW_IDC_SMTP_DETAILS)
            return false;
        model_->ToggleDetails();
        ShowDetails();
        return true;
    }

    void OnDestroy() override {
        if (session_)
            session_->Close();
    }

    // SmtpSessionUi: the window's own messages, so that the rows and statuses pass the
    // same way whoever adds them.
    void RequestSend() override { Post(kMsgSendPending); }
    void AddResponse(bool own, const std::string& text) override {
        Send(kMsgAddResponse, own ? 1 : 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    void SetStatus(unsigned stringId, bool openDetails) override {
        Send(kMsgSetStatus, openDetails ? 1 : 0, static_cast<LPARAM>(stringId));
    }
    void ShowSocketError(const std::string& text, int error) override {
        ShowSocketErrorWindow(context_.instance, hwnd(), DescribeSocketError(text, error));
    }
    void Finish(bool accepted) override { End(accepted ? IDOK : IDCANCEL); }
    void Trace(const std::string& text) override {
        if (context_.trace)
            context_.trace(text);
    }

private:
    void AddRow(bool own, const char* text) {
        model_->AddRow(own, text ? text : "");
        std::wstring row = kestrix::WideFromAnsi(model_->rows().back());
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(model_->rows().size()) - 1;
        item.pszText = &row[0];
        const LRESULT at = SendItem(KW_IDC_SMTP_RESPONSES, LVM_INSERTITEMW, 0,
                                    reinterpret_cast<LPARAM>(&item));
        SendItem(KW_IDC_SMTP_RESPONSES, LVM_ENSUREVISIBLE, static_cast<WPARAM>(at), FALSE);
    }

    void ShowDetails() {
        const bool open = model_->detailsOpen();
        RECT window = {};
        GetWindowRect(hwnd(), &window);
        SetWindowPos(hwnd(), nullptr, 0, 0, window.right - window.left,
                     open ? openHeight_ : closedHeight_, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(Item(KW_IDC_SMTP_RESPONSES), open ? SW_SHOW : SW_HIDE);
        SetItemText(KW_IDC_SMTP_DETAILS, kestrix::WideFromAnsi(model_->detailsCaption()));
    }

    const MailWindowContext& context_;
    const CWinSockLib& library_;
    const CMailMessage& message_;
    std::string server_;
    std::uint16_t port_;
    int openHeight_ = 0;
    int closedHeight_ = 0;
    std::unique_ptr<SmtpStatusModel> model_;
    std::unique_ptr<WinSockSocket> socket_;
    std::unique_ptr<CSmtpSession> session_;
    std::unique_ptr<CSmtpProtocol> protocol_;
};

} // namespace

bool RunSmtpStatusWindow(const MailWindowContext& context, HWND owner,
                         const CWinSockLib& library, const CMailMessage& message,
                         const std::string& server, std::uint16_t port) {
    SmtpStatusWindow window(context, library, message, server, port);
    return window.RunModal(context.instance, KW_IDD_SMTP_STATUS, owner) == IDOK;
}

} // namespace keywright
