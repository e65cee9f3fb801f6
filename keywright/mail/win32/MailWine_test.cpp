// The mail client against a real SMTP server on the loopback address, started by the
// test's harness (tests/smtp/loopback_smtp.py): a message with To and Cc recipients
// and the editor's real export attached arrives intact; a refused recipient ends the
// dialogue with quit and the error status; a dead port is reported. Also the socket
// library's and the system mail interface's failure messages.
#include "mail/MessageBuilder.h"
#include "mail/RecordingSessionUi.h"
#include "mail/SmtpSession.h"
#include "mail/SmtpStatusModel.h"
#include "mail/MailCommand.h"
#include "mail/win32/KeyExport.h"
#include "mail/win32/SendByMapi.h"
#include "mail/win32/WinSockLib.h"
#include "mail/win32/WinSockSocket.h"
#include "platform/FileSystem.h"
#include "strings/KeywrightStrings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace keywright {
namespace {

constexpr DWORD kTimeoutMs = 20000;

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// A path of the build machine as Wine's drive Z: shows it.
std::string WindowsPath(std::string path) {
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return "Z:" + path;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The status window's part for the session: a hidden window that receives the socket
// events and the send requests, and the model of what the window would show.
class SessionWindow : public RecordingSessionUi {
public:
    explicit SessionWindow(const CWinSockLib& library) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KestrixMailTestWindow";
        RegisterClassA(&windowClass);
        window_ = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        socket_ = std::make_unique<WinSockSocket>(library, window_);
        session_ = std::make_unique<CSmtpSession>(*socket_, *this);
    }
    ~SessionWindow() override {
        session_.reset();
        socket_.reset();
        DestroyWindow(window_);
    }

    // Connects and runs the window's messages until `done` holds or time is up.
    template <typename Done>
    bool Run(const CMailMessage& message, unsigned short port, Done done) {
        protocol_ = std::make_unique<CSmtpProtocol>(message, *session_);
        protocol_->Start();
        if (!session_->Connect("127.0.0.1", port, *protocol_))
            return false;
        const DWORD start = GetTickCount();
        MSG msg;
        while (!done() && GetTickCount() - start < kTimeoutMs) {
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, 200, QS_ALLINPUT) != WAIT_OBJECT_0)
                continue;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&msg);
        }
        return done();
    }

    bool socketOpen() const { return socket_->IsOpen(); }
    const CSmtpProtocol& protocol() const { return *protocol_; }

    void RequestSend() override { PostMessageA(window_, kMsgSendPending, 0, 0); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<SessionWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self && message == kMsgSocketEvent && self->socket_->Owns(wParam)) {
            self->session_->OnSocketEvent(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
            return 0;
        }
        if (self && message == kMsgSendPending) {
            self->session_->SendPending();
            return 0;
        }
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND window_ = nullptr;
    std::unique_ptr<WinSockSocket> socket_;
    std::unique_ptr<CSmtpSession> session_;
    std::unique_ptr<CSmtpProtocol> protocol_;
};

class LoopbackMail : public ::testing::Test {
protected:
    void SetUp() override {
        port_ = static_cast<unsigned short>(std::atoi(Environment("KESTRIX_SMTP_PORT").c_str()));
        deadPort_ =
            static_cast<unsigned short>(std::atoi(Environment("KESTRIX_SMTP_DEAD_PORT").c_str()));
        spool_ = Environment("KESTRIX_SMTP_SPOOL");
        ASSERT_NE(0, port_) << "run under tests/smtp/loopback_smtp.py";
        ASSERT_TRUE(library_.ready());
        spool_ = WindowsPath(spool_) + "\\";
        files_ = kestrix::MakeSystemFileSystem();
    }

    bool Build(CMailMessage& message) {
        MailBuildContext context;
        context.warn = [](const std::string& text) { ADD_FAILURE() << text; };
        context.time = &time_;
        context.files = files_.get();
        return BuildMessage(message, context);
    }

    // The number of the next message the server will keep.
    int NextMessage() const {
        int n = 1;
        while (Exists(spool_ + std::to_string(n) + ".rcpt"))
            ++n;
        return n;
    }

    CWinSockLib library_;
    SystemMailTime time_;
    std::unique_ptr<kestrix::FileSystem> files_;
    unsigned short port_ = 0;
    unsigned short deadPort_ = 0;
    std::string spool_;
};

TEST_F(LoopbackMail, DeliversTheEditorsExportIntactToEveryRecipient) {
    std::string file, error;
    ASSERT_TRUE(MakeTemporaryExportFile(&file, &error)) << error;
    ASSERT_TRUE(RunEditorExport(nullptr, ExportParameters(file, "HKEY_CURRENT_USER\\Software\\Wine")));
    EXPECT_TRUE(FileHoldsData(file));
    const std::string exported = ReadAll(file);
    // The editor writes UTF-16: exactly what the 7-bit form damaged.
    ASSERT_GT(exported.size(), 2u);
    EXPECT_EQ("\xFF\xFE", exported.substr(0, 2));

    CMailMessage message;
    message.from = "Ann Admin <ann@example.com>";
    message.to = "Bob <bob@example.com>; carol@example.com";
    message.cc = "dan@example.com";
    message.subject = "The key";
    message.body = "Here it is.\r\n.\r\nA line with a dot alone came before.";
    message.attachmentName = KeywrightString(kStrAttachmentName);
    message.attachmentPath = file;
    ASSERT_TRUE(Build(message));

    const int number = NextMessage();
    SessionWindow window(library_);
    EXPECT_TRUE(window.Run(message, port_, [&] { return window.finished != 0; }));
    EXPECT_EQ(1, window.finished);
    EXPECT_TRUE(window.errors.empty());
    EXPECT_EQ("Message accepted for delivery", window.model.status());

    const std::string base = spool_ + std::to_string(number);
    EXPECT_EQ("ann@example.com\nbob@example.com\ncarol@example.com\ndan@example.com\n",
              ReadAll(base + ".rcpt"));
    const std::string received = ReadAll(base + ".eml");
    EXPECT_NE(std::string::npos, received.find("Here it is.\r\n.\r\nA line with a dot"));
    EXPECT_NE(std::string::npos, received.find("Content-Transfer-Encoding: base64"));
    EXPECT_EQ(exported, ReadAll(base + ".attachment-1"));
    DeleteFileA(file.c_str());
}

// A key that is not there: the editor ends without writing, and the file that was made
// empty beforehand stays empty, which is how the command knows.
TEST(KeyExport, AMissingKeyLeavesTheFileEmpty) {
    std::string file, error;
    ASSERT_TRUE(MakeTemporaryExportFile(&file, &error)) << error;
    EXPECT_FALSE(FileHoldsData(file));
    ASSERT_TRUE(RunEditorExport(
        nullptr, ExportParameters(file, "HKEY_CURRENT_USER\\Software\\KestrixNoSuchKey")));
    EXPECT_FALSE(FileHoldsData(file));
    DeleteFileA(file.c_str());
    EXPECT_FALSE(FileHoldsData(file));
}

TEST_F(LoopbackMail, ARefusedRecipientEndsWithQuitAndTheErrorStatus) {
    CMailMessage message;
    message.from = "ann@example.com";
    message.to = "bob@example.com; refused@example.com; carol@example.com";
    message.body = "never delivered";
    ASSERT_TRUE(Build(message));

    const int number = NextMessage();
    SessionWindow window(library_);
    EXPECT_TRUE(window.Run(message, port_, [&] { return !window.socketOpen(); }));
    EXPECT_EQ(0, window.finished);
    EXPECT_EQ("An Online error occurred!", window.model.status());
    EXPECT_TRUE(window.model.detailsOpen());
    const std::vector<std::string> expected = {
        "Keywright: Connecting to 127.0.0.1",
        "Server: 220 loopback.test",
        "Keywright: HELO",
        "Server: 250 loopback.test",
        "Keywright: MAIL FROM: <ann@example.com>",
        "Server: 250 OK",
        "Keywright: RCPT TO: <bob@example.com>",
        "Server: 250 OK",
        "Keywright: RCPT TO: <refused@example.com>",
        "Server: 550 5.1.1 No such user here",
        "Keywright: quit",
        "Server: 221 Bye",
    };
    const std::vector<std::string>& rows = window.model.rows();
    ASSERT_EQ(expected.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        // The greeting names the server and its software; HELO names this machine.
        EXPECT_EQ(0u, rows[i].find(expected[i])) << rows[i];
    }
    EXPECT_FALSE(Exists(spool_ + std::to_string(number) + ".rcpt"));
}

TEST_F(LoopbackMail, ReportsAServerThatIsNotThere) {
    CMailMessage message;
    message.from = "ann@example.com";
    message.to = "bob@example.com";
    ASSERT_TRUE(Build(message));
    SessionWindow window(library_);
    EXPECT_TRUE(window.Run(message, deadPort_, [&] { return window.finished != 0; }));
    EXPECT_EQ(-1, window.finished);
    ASSERT_EQ(1u, window.errors.size());
    EXPECT_EQ("Can not connect to 127.0.0.1", window.errors[0].text);
    EXPECT_EQ("10061", window.errors[0].number);
    EXPECT_EQ("The attempt to connect failed. There is no server at that address.",
              window.errors[0].description);
}

TEST(WinSockLib, SaysWhyTheLibraryCannotBeUsed) {
    CWinSockLib missing("kestrix-no-such-library.dll");
    EXPECT_EQ(CWinSockLib::Outcome::LoadFailed, missing.outcome());
    EXPECT_STREQ("Could not load WSOCK32.DLL",
                 KeywrightString(WinSockFailureString(missing.outcome())));
    CWinSockLib other("kernel32.dll");
    EXPECT_EQ(CWinSockLib::Outcome::LookupFailed, other.outcome());
    EXPECT_STREQ("Thunking for winsock failed",
                 KeywrightString(WinSockFailureString(other.outcome())));
    CWinSockLib real;
    EXPECT_EQ(CWinSockLib::Outcome::Loaded, real.outcome());
    EXPECT_EQ(0, real.startupResult());
}

TEST(SendByMapi, ShowsWhatTheSystemMailInterfaceAnswers) {
    struct Shown {
        std::string text;
        UINT flags;
    };
    std::vector<Shown> shown;
    const MapiMessage show = [&](const std::string& text, UINT flags) {
        shown.push_back({text, flags});
    };
    EXPECT_FALSE(SendByMapi(nullptr, "Registry.re4", "C:\\x.reg", show, "kestrix-no-mapi.dll"));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("Could not load MAPI.DLL", shown[0].text);
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), shown[0].flags);

    shown.clear();
    EXPECT_FALSE(SendByMapi(nullptr, "Registry.re4", "C:\\x.reg", show, "kernel32.dll"));
    ASSERT_EQ(1u, shown.size());
    EXPECT_EQ("MAPI function not available", shown[0].text);

    // Wine's mail interface has no mail program behind it and answers with an error.
    shown.clear();
    EXPECT_FALSE(SendByMapi(nullptr, "Registry.re4", "C:\\x.reg", show));
    ASSERT_EQ(1u, shown.size());
    EXPECT_NE(std::string::npos, shown[0].text.find("error")) << shown[0].text;
}

} // namespace
} // namespace keywright
