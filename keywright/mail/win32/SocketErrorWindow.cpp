// The socket error window over the window base.
#include "mail/win32/SocketErrorWindow.h"

#include "mail/win32/SocketErrorWindowIds.h"
#include "platform/win32/AnsiText.h"
#include "platform/win32/ui/Dialog.h"

#include <utility>

namespace keywright {

namespace {

class SocketErrorWindow : public kestrix::ui::Dialog {
public:
    explicit SocketErrorWindow(SocketErrorReport report) : report_(std::move(report)) {}

protected:
    bool OnInit() override {
        SetItemText(KW_IDC_SOCKET_ERROR_TEXT, kestrix::WideFromAnsi(report_.text));
        SetItemText(KW_IDC_SOCKET_ERROR_NUMBER, kestrix::WideFromAnsi(report_.number));
        SetItemText(KW_IDC_SOCKET_ERROR_DESCRIPTION, kestrix::WideFromAnsi(report_.description));
        return true;
    }

private:
    SocketErrorReport report_;
};

} // namespace

void ShowSocketErrorWindow(HINSTANCE instance, HWND owner, const SocketErrorReport& report) {
    SocketErrorWindow window(report);
    window.RunModal(instance, KW_IDD_SOCKET_ERROR, owner);
}

} // namespace keywright
