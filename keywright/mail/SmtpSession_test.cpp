// The SMTP connection against a scripted socket: connecting and its failures, line
// framing across reads, sends that the socket takes in parts, the server closing,
// and the status window's model fed by it.
#include "mail/SmtpSession.h"

#include "mail/RecordingSessionUi.h"
#include "mail/SmtpStatusModel.h"
#include "strings/KeywrightStrings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

namespace keywright {
namespace {

// A socket whose replies the test scripts: what each receive returns and how much
// each send takes.
class ScriptedSocket : public SmtpSocket {
public:
    int openError = 0;
    int resolveError = 0;
    int watchError = 0;
    int connectResult = kSocketWouldBlock;
    std::deque<std::string> incoming; // one entry per receive; "" is the server closing
    int receiveError = 0;
    std::size_t sendLimit = 1 << 20; // bytes one send takes
    bool writable = true;            // false: sends would block until Writable()
    int sendError = 0;
    std::string sentBytes;
    std::vector<std::size_t> sends;
    bool open = false;
    std::uint32_t address = 0;
    std::uint16_t port = 0;

    int Open() override {
        open = openError == 0;
        return openError;
    }
    int Resolve(const std::string&, std::uint32_t* a) override {
        *a = 0x0100007F;
        return resolveError;
    }
    int WatchEvents() override { return watchError; }
    int Connect(std::uint32_t a, std::uint16_t p) override {
        address = a;
        port = p;
        return connectResult;
    }
    int Send(const char* data, std::size_t size, std::size_t* sent) override {
        if (sendError)
            return sendError;
        if (!writable)
            return kSocketWouldBlock;
        *sent = size < sendLimit ? size : sendLimit;
        sentBytes.append(data, *sent);
        sends.push_back(*sent);
        // A full socket buffer: the next send waits for the write event.
        if (*sent < size)
            writable = false;
        return 0;
    }
    int Receive(char* data, std::size_t size, std::size_t* received) override {
        if (receiveError)
            return receiveError;
        if (incoming.empty())
            return kSocketWouldBlock;
        std::string& next = incoming.front();
        *received = next.size() < size ? next.size() : size;
        next.copy(data, *received);
        next.erase(0, *received);
        if (next.empty() || *received == 0)
            incoming.pop_front();
        return 0;
    }
    void Close() override { open = false; }
    bool IsOpen() const override { return open; }
    std::string LocalAddress() override { return "127.0.0.1"; }
};

// Send requests wait until the test's message loop runs them.
class RecordingUi : public RecordingSessionUi {
public:
    int sendRequests = 0;
    void RequestSend() override { ++sendRequests; }
};

class SmtpSessionTest : public ::testing::Test {
protected:
    SmtpSessionTest() {
        message_.senderAddress = "ann@example.com";
        message_.toList = {{"bob@example.com", ""}};
        message_.text = std::string(2500, 'm') + "\r\n.\r\n";
    }

    bool Connect() {
        protocol_.Start();
        return session_.Connect("mail.example.com", 2525, protocol_);
    }

    // The window's message loop: posted send requests, then the given event.
    void Pump() {
        while (ui_.sendRequests > 0) {
            --ui_.sendRequests;
            session_.SendPending();
        }
    }
    void Event(int event, int error = 0) {
        session_.OnSocketEvent(event, error);
        Pump();
    }
    // The server says `lines`, all in one read.
    void Say(const std::string& lines) {
        socket_.incoming.push_back(lines);
        Event(kSocketEventRead);
    }
    std::string TakeSent() {
        std::string sent = socket_.sentBytes;
        socket_.sentBytes.clear();
        return sent;
    }

    CMailMessage message_;
    ScriptedSocket socket_;
    RecordingUi ui_;
    CSmtpSession session_{socket_, ui_};
    CSmtpProtocol protocol_{message_, session_};
};

TEST_F(SmtpSessionTest, ReportsEachWayConnectingCanFail) {
    struct Case {
        int ScriptedSocket::*field;
        int error;
        const char* text;
        const char* description;
    } cases[] = {
        {&ScriptedSocket::openError, 10055, "Could not open socket",
         "WinSock reports a buffer deadlock"},
        {&ScriptedSocket::resolveError, 11001, "Could not resolve the hostname to an IP address",
         "Unknown host name"},
        {&ScriptedSocket::watchError, 10022, "WSAAsyncSelect failure", ""},
        {&ScriptedSocket::connectResult, 10061, "Can not connect to mail.example.com",
         "The attempt to connect failed. There is no server at that address."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScriptedSocket socket;
        socket.*c.field = c.error;
        RecordingUi ui;
        CSmtpSession session(socket, ui);
        CSmtpProtocol protocol(message_, session);
        EXPECT_FALSE(session.Connect("mail.example.com", 25, protocol));
        ASSERT_EQ(1u, ui.errors.size());
        EXPECT_EQ(c.text, ui.errors[0].text);
        EXPECT_EQ(std::to_string(c.error), ui.errors[0].number);
        EXPECT_EQ(c.description, ui.errors[0].description);
        EXPECT_EQ(c.error, session.lastError());
        EXPECT_FALSE(socket.open);
    }
}

TEST_F(SmtpSessionTest, ConnectsAndSaysSo) {
    ASSERT_TRUE(Connect());
    EXPECT_EQ(2525, socket_.port);
    EXPECT_EQ("Connecting...", ui_.model.status());
    EXPECT_EQ(std::vector<std::string>{"Keywright: Connecting to mail.example.com"},
              ui_.model.rows());
    socket_.connectResult = 0; // completed at once
    EXPECT_TRUE(Connect());
}

TEST_F(SmtpSessionTest, AConnectionThatFailsLaterIsReportedAndEndsTheWindow) {
    ASSERT_TRUE(Connect());
    Event(kSocketEventConnect, 10060);
    ASSERT_EQ(1u, ui_.errors.size());
    EXPECT_EQ("Can not connect to mail.example.com", ui_.errors[0].text);
    EXPECT_EQ("The attempt to connect timed out without establishing a connection",
              ui_.errors[0].description);
    EXPECT_EQ(-1, ui_.finished);
    EXPECT_FALSE(socket_.open);
    Event(kSocketEventConnect, 0);
    EXPECT_EQ(1u, ui_.errors.size());
}

TEST_F(SmtpSessionTest, FramesLinesAcrossReads) {
    ASSERT_TRUE(Connect());
    Event(kSocketEventConnect);
    socket_.incoming = {"220-first\r", "\n220-sec", "ond\r\n220 last\r\n250-x"};
    Event(kSocketEventRead);
    Event(kSocketEventRead);
    EXPECT_EQ("", TakeSent());
    Event(kSocketEventRead);
    EXPECT_EQ("HELO 127.0.0.1\r\n", TakeSent());
    EXPECT_EQ(std::vector<std::string>({"Keywright: Connecting to mail.example.com",
                                        "Server: 220-first", "Server: 220-second",
                                        "Server: 220 last", "Keywright: HELO 127.0.0.1"}),
              ui_.model.rows());
    Say("\r\n250 hello\r\n");
    EXPECT_EQ("MAIL FROM: <ann@example.com>\r\n", TakeSent());
}

TEST_F(SmtpSessionTest, SendsABodyLargerThanOneSendPieceByPiece) {
    ASSERT_TRUE(Connect());
    Say("220 ready\r\n");
    Say("250 hello\r\n");
    Say("250 OK\r\n");
    Say("250 OK\r\n");
    EXPECT_EQ("HELO 127.0.0.1\r\nMAIL FROM: <ann@example.com>\r\n"
              "RCPT TO: <bob@example.com>\r\nDATA\r\n",
              TakeSent());
    socket_.sendLimit = 1000;
    socket_.sends.clear();
    Say("354 go on\r\n");
    // The socket took 1000 bytes, then would block until it can take more.
    EXPECT_EQ(1000u, socket_.sentBytes.size());
    EXPECT_TRUE(session_.sending());
    for (int i = 0; i < 5 && session_.sending(); ++i) {
        socket_.writable = true;
        Event(kSocketEventWrite);
    }
    EXPECT_FALSE(session_.sending());
    EXPECT_EQ(message_.text, TakeSent());
    EXPECT_EQ(std::vector<std::size_t>({1000, 1000, 505}), socket_.sends);
    const std::vector<std::string>& rows = ui_.model.rows();
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(std::vector<std::string>({"Keywright: [sending body]", "Keywright: --> Sent 1000 bytes ",
                                        "Keywright: --> Sent 1000 bytes ",
                                        "Keywright: --> Sent 505 bytes "}),
              std::vector<std::string>(rows.end() - 4, rows.end()));

    socket_.sends.clear();
    Say("250 queued\r\n");
    EXPECT_EQ("quit\r\n", TakeSent());
    EXPECT_EQ("Keywright: quit", ui_.model.rows().back());
    EXPECT_EQ("Message accepted for delivery", ui_.model.status());
    Say("221 bye\r\n");
    Event(kSocketEventClose);
    EXPECT_EQ(1, ui_.finished);
    EXPECT_FALSE(socket_.open);
    EXPECT_TRUE(ui_.errors.empty());
}

TEST_F(SmtpSessionTest, QueuesATextThatComesWhileOneIsStillGoingOut) {
    ASSERT_TRUE(Connect());
    socket_.writable = false;
    session_.SendText("first\r\n");
    session_.SendText("second\r\n");
    Pump();
    EXPECT_EQ("", TakeSent());
    socket_.writable = true;
    Event(kSocketEventWrite);
    EXPECT_EQ("first\r\nsecond\r\n", TakeSent());
}

TEST_F(SmtpSessionTest, ReportsReceiveAndSendFailures) {
    ASSERT_TRUE(Connect());
    socket_.receiveError = 10054;
    Event(kSocketEventRead);
    ASSERT_EQ(1u, ui_.errors.size());
    EXPECT_EQ("Online error - Recv failed", ui_.errors[0].text);
    EXPECT_EQ("The circuit was reset by the remote side", ui_.errors[0].description);

    socket_.receiveError = 0;
    socket_.sendError = 10053;
    Say("220 ready\r\n");
    ASSERT_EQ(2u, ui_.errors.size());
    EXPECT_EQ("Online error - Send failed", ui_.errors[1].text);
    EXPECT_EQ("10053", ui_.errors[1].number);
    EXPECT_EQ("An Online error occurred!", ui_.model.status());
    EXPECT_TRUE(ui_.model.detailsOpen());
    EXPECT_FALSE(session_.sending());
}

TEST_F(SmtpSessionTest, ServerGoingAwayEarlyIsAnErrorAfterQuitItIsTheEnd) {
    ASSERT_TRUE(Connect());
    Say("220 ready\r\n");
    Say(""); // zero bytes: the server closed in the middle
    ASSERT_EQ(1u, ui_.errors.size());
    EXPECT_EQ("Connection dropped gracefully - zero bytes received", ui_.errors[0].text);
    Event(kSocketEventClose);
    EXPECT_EQ(0, ui_.finished);
    EXPECT_EQ("An Online error occurred!", ui_.model.status());
    EXPECT_TRUE(ui_.model.detailsOpen());
    EXPECT_EQ("Keywright: The server closed the connection before it accepted the message.",
              ui_.model.rows().back());
}

TEST_F(SmtpSessionTest, ZeroBytesAfterQuitEndLikeAClose) {
    ASSERT_TRUE(Connect());
    for (const char* reply : {"220 ready\r\n", "250 hello\r\n", "250 OK\r\n", "250 OK\r\n",
                              "354 go\r\n", "250 queued\r\n", "221 bye\r\n"})
        Say(reply);
    Say("");
    EXPECT_TRUE(ui_.errors.empty());
    EXPECT_EQ(1, ui_.finished);
}

TEST_F(SmtpSessionTest, ARefusedMessageLeavesTheWindowOpenWhenTheServerCloses) {
    ASSERT_TRUE(Connect());
    for (const char* reply : {"220 ready\r\n", "250 hello\r\n", "550 no such user\r\n"})
        Say(reply);
    EXPECT_EQ("HELO 127.0.0.1\r\nMAIL FROM: <ann@example.com>\r\nquit\r\n", TakeSent());
    Say("221 bye\r\n");
    Event(kSocketEventClose);
    EXPECT_EQ(0, ui_.finished);
    EXPECT_EQ("An Online error occurred!", ui_.model.status());
    EXPECT_EQ("Server: 221 bye", ui_.model.rows().back());
}

TEST_F(SmtpSessionTest, ALineLongerThanTheBufferIsAProtocolErrorNotADroppedConnection) {
    ASSERT_TRUE(Connect());
    Say("220 ready\r\n");
    TakeSent();
    // 3000 bytes without a line end, then its end and the reply to quit.
    socket_.incoming = {std::string(3000, 'x'), "xx\r", "\n221 bye\r\n"};
    Event(kSocketEventRead);
    Event(kSocketEventRead);
    Event(kSocketEventRead);
    Event(kSocketEventRead);
    EXPECT_TRUE(ui_.errors.empty());
    EXPECT_EQ("quit\r\n", TakeSent());
    EXPECT_EQ("An Online error occurred!", ui_.model.status());
    EXPECT_TRUE(ui_.model.detailsOpen());
    EXPECT_EQ("Server: 221 bye", ui_.model.rows().back());
    EXPECT_EQ(SmtpState::Quit, protocol_.state());
}

TEST(SmtpLineBuffer, CutsLinesAtCrLfOnly) {
    SmtpLineBuffer buffer;
    const std::string data = "one\r\ntwo\nstill two\r\n\r\nrest";
    data.copy(buffer.FreeSpace(), data.size());
    buffer.Commit(data.size());
    std::vector<std::string> lines;
    std::string line;
    while (buffer.NextLine(&line))
        lines.push_back(line);
    EXPECT_EQ(std::vector<std::string>({"one\r\n", "two\nstill two\r\n", "\r\n"}), lines);
    EXPECT_EQ(4u, buffer.held());
    EXPECT_FALSE(buffer.Overlong());
}

TEST(SmtpStatusModel, TogglesDetailsAndDescribesErrors) {
    SmtpStatusModel model("&Show Details");
    EXPECT_FALSE(model.detailsOpen());
    EXPECT_EQ("&Show Details", model.detailsCaption());
    model.ToggleDetails();
    EXPECT_EQ("Hide Details", model.detailsCaption());
    model.ToggleDetails();
    model.SetStatus(kStrReceiving, false);
    EXPECT_FALSE(model.detailsOpen());
    model.SetStatus(kStrOnlineError, true);
    EXPECT_TRUE(model.detailsOpen());
    model.AddRow(false, "250 OK\r\n");
    EXPECT_EQ("Server: 250 OK", model.rows().back());

    // Every number of the table has its own description; others have none.
    std::vector<unsigned> seen;
    for (int error : {10013, 10048, 10049, 10050, 10051, 10052, 10053, 10054, 10055, 10056,
                      10057, 10058, 10060, 10061, 10064, 10065, 11001, 11003, 11004, 11002}) {
        SCOPED_TRACE(error);
        const unsigned id = SocketErrorString(error);
        EXPECT_GE(id, kStrFirstSocketError);
        EXPECT_LE(id, kStrLastSocketError);
        EXPECT_NE(nullptr, KeywrightString(id));
        EXPECT_EQ(seen.end(), std::find(seen.begin(), seen.end(), id));
        seen.push_back(id);
    }
    EXPECT_EQ(0u, SocketErrorString(10035));
    EXPECT_EQ(0u, SocketErrorString(0));
    const SocketErrorReport report = DescribeSocketError("x", 11002);
    EXPECT_EQ("Could not look up hostname.  This is usually a temporary\nerror . Please try "
              "again later.",
              report.description);
}

} // namespace
} // namespace keywright
