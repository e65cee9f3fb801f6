// The SMTP dialogue as transcripts: the server's lines in, our commands out, with the
// rows and statuses the status window would show.
#include "mail/SmtpProtocol.h"

#include "strings/KeywrightStrings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

class RecordingChannel : public SmtpChannel {
public:
    std::vector<std::string> sent;
    std::vector<std::string> rows;
    std::vector<std::string> statuses;
    bool detailsOpened = false;
    bool bodyFlag = false;
    std::string localAddress = "192.0.2.7";

    void SendText(const std::string& text) override { sent.push_back(text); }
    void SetBodyFlag(bool on) override { bodyFlag = on; }
    void AddResponse(bool own, const std::string& text) override {
        rows.push_back((own ? "> " : "< ") + text);
    }
    void SetStatus(unsigned id, bool open) override {
        statuses.push_back(KeywrightString(id));
        detailsOpened = detailsOpened || open;
    }
    std::string LocalAddress() override { return localAddress; }
    void Trace(const std::string&) override {}
};

// One exchange: what the server says, and every text we send in answer.
struct Step {
    const char* server;
    std::vector<std::string> client;
};

class SmtpTranscript : public ::testing::Test {
protected:
    SmtpTranscript() {
        message_.senderAddress = "ann@example.com";
        message_.toList = {{"bob@example.com", "Bob"}, {"carol@example.com", ""}};
        message_.ccList = {{"dan@example.com", ""}};
        message_.text = "Subject: x\r\n\r\nbody\r\n.\r\n";
    }

    // The dialogue of the fixture's message up to the point where its text goes out.
    std::vector<Step> UpToTheBody() const {
        return {
            {"220 ready\r\n", {"HELO 192.0.2.7\r\n"}},
            {"250 hello\r\n", {"MAIL FROM: <ann@example.com>\r\n"}},
            {"250 OK\r\n", {"RCPT TO: <bob@example.com>\r\n"}},
            {"250 OK\r\n", {"RCPT TO: <carol@example.com>\r\n"}},
            {"250 OK\r\n", {"RCPT TO: <dan@example.com>\r\n"}},
            {"250 OK\r\n", {"DATA\r\n"}},
            {"354 go on\r\n", {message_.text}},
        };
    }

    void Run(const std::vector<Step>& steps) {
        protocol_.Start();
        for (const Step& step : steps) {
            SCOPED_TRACE(step.server);
            channel_.sent.clear();
            protocol_.OnLine(step.server);
            EXPECT_EQ(step.client, channel_.sent);
        }
    }

    CMailMessage message_;
    RecordingChannel channel_;
    CSmtpProtocol protocol_{message_, channel_};
};

TEST_F(SmtpTranscript, DeliversToEveryToAndCcRecipient) {
    Run({
        {"220 mail.example.com ESMTP\r\n", {"HELO 192.0.2.7\r\n"}},
        {"250 mail.example.com\r\n", {"MAIL FROM: <ann@example.com>\r\n"}},
        {"250 OK\r\n", {"RCPT TO: <bob@example.com>\r\n"}},
        {"250 OK\r\n", {"RCPT TO: <carol@example.com>\r\n"}},
        // 251: the server forwards; the recipient counts as accepted.
        {"251 User not local; will forward\r\n", {"RCPT TO: <dan@example.com>\r\n"}},
        {"250 OK\r\n", {"DATA\r\n"}},
        {"354 End data with <CR><LF>.<CR><LF>\r\n", {message_.text}},
        {"250 OK queued\r\n", {"quit\r\n"}},
        {"221 Bye\r\n", {}},
    });
    EXPECT_TRUE(protocol_.accepted());
    EXPECT_EQ(SmtpState::Quit, protocol_.state());
    EXPECT_EQ(std::vector<std::string>({
                  "< 220 mail.example.com ESMTP", "> HELO 192.0.2.7", "< 250 mail.example.com",
                  "> MAIL FROM: <ann@example.com>", "< 250 OK", "> RCPT TO: <bob@example.com>",
                  "< 250 OK", "> RCPT TO: <carol@example.com>",
                  "< 251 User not local; will forward", "> RCPT TO: <dan@example.com>",
                  "< 250 OK", "> DATA", "< 354 End data with <CR><LF>.<CR><LF>",
                  "> [sending body]", "< 250 OK queued", "> quit", "< 221 Bye"}),
              channel_.rows);
    EXPECT_EQ("Message accepted for delivery", channel_.statuses.back());
    EXPECT_FALSE(channel_.detailsOpened);
    EXPECT_FALSE(channel_.bodyFlag);
}

TEST_F(SmtpTranscript, AnswersAGreetingOtherThan220WithQuitOnly) {
    Run({
        {"554 No SMTP service here\r\n", {"quit\r\n"}},
        {"221 Bye\r\n", {}},
    });
    EXPECT_TRUE(channel_.statuses.empty());
    EXPECT_FALSE(protocol_.accepted());
    EXPECT_EQ(std::vector<std::string>({"< 554 No SMTP service here", "> quit", "< 221 Bye"}),
              channel_.rows);
}

TEST_F(SmtpTranscript, MovesOnOnceAtTheLastLineOfAMultiLineReply) {
    Run({
        {"220-mail.example.com first greeting line\r\n", {}},
        {"220-second\r\n", {}},
        {"220 last\r\n", {"HELO 192.0.2.7\r\n"}},
        {"250-mail.example.com\r\n", {}},
        {"250-PIPELINING\r\n", {}},
        {"250 8BITMIME\r\n", {"MAIL FROM: <ann@example.com>\r\n"}},
    });
    EXPECT_EQ(SmtpState::MailFrom, protocol_.state());
    EXPECT_EQ(8u, channel_.rows.size());
}

TEST_F(SmtpTranscript, EndsWithQuitWhenARecipientIsRefused) {
    Run({
        {"220 ready\r\n", {"HELO 192.0.2.7\r\n"}},
        {"250 hello\r\n", {"MAIL FROM: <ann@example.com>\r\n"}},
        {"250 OK\r\n", {"RCPT TO: <bob@example.com>\r\n"}},
        {"550 No such user\r\n", {"quit\r\n"}},
        {"221 Bye\r\n", {}},
    });
    EXPECT_EQ("An Online error occurred!", channel_.statuses.back());
    EXPECT_TRUE(channel_.detailsOpened);
    EXPECT_FALSE(protocol_.accepted());
}

TEST_F(SmtpTranscript, FailsOnEveryUnexpectedReply) {
    const std::vector<Step> dialogue = UpToTheBody();
    // Each refusal takes the place of the reply at the same place in the dialogue.
    const char* refusals[] = {nullptr, "501 bad HELO\r\n", "553 sender refused\r\n",
                              "260 out of range\r\n", "249 below range\r\n", "450 busy\r\n",
                              "250 DATA is not 354\r\n"};
    for (std::size_t i = 1; i < dialogue.size(); ++i) {
        const char* refusal = refusals[i];
        SCOPED_TRACE(refusal);
        channel_ = RecordingChannel();
        std::vector<Step> steps(dialogue.begin(), dialogue.begin() + static_cast<long>(i));
        steps.push_back({refusal, {"quit\r\n"}});
        Run(steps);
        EXPECT_EQ(SmtpState::Quit, protocol_.state());
        EXPECT_TRUE(channel_.detailsOpened);
        EXPECT_EQ("An Online error occurred!", channel_.statuses.back());
    }
}

TEST_F(SmtpTranscript, StartsWithTheFirstCcWhenThereIsNoTo) {
    message_.toList.clear();
    message_.ccList = {{"x@example.com", ""}, {"y@example.com", ""}};
    Run({
        {"220 ready\r\n", {"HELO 192.0.2.7\r\n"}},
        {"250 hello\r\n", {"MAIL FROM: <ann@example.com>\r\n"}},
        {"250 OK\r\n", {"RCPT TO: <x@example.com>\r\n"}},
        {"250 OK\r\n", {"RCPT TO: <y@example.com>\r\n"}},
        {"250 OK\r\n", {"DATA\r\n"}},
    });
}

TEST_F(SmtpTranscript, AFinalReplyOtherThan250IsAnErrorNeverASuccess) {
    std::vector<Step> steps = UpToTheBody();
    // After the data the first line decides, a minus sign or not.
    steps.push_back({"554-Transaction failed\r\n", {"quit\r\n"}});
    steps.push_back({"554 more text\r\n", {}});
    Run(steps);
    EXPECT_EQ(554, protocol_.finalReplyCode());
    EXPECT_FALSE(protocol_.accepted());
    EXPECT_EQ("An Online error occurred!", channel_.statuses.back());
    EXPECT_TRUE(channel_.detailsOpened);
    EXPECT_EQ("< 554 more text", channel_.rows.back());
}

TEST_F(SmtpTranscript, FlagsTheBodySendAndLogsItOnlyAsAMarker) {
    Run(UpToTheBody());
    EXPECT_TRUE(channel_.bodyFlag);
    EXPECT_EQ("> [sending body]", channel_.rows.back());
    protocol_.OnLine("250 OK\r\n");
    EXPECT_FALSE(channel_.bodyFlag);
}

TEST_F(SmtpTranscript, NamesAFixedHostWhenTheLocalAddressIsUnknown) {
    struct Case {
        std::string local;
        std::string helo;
    } cases[] = {
        {"", "HELO localhost\r\n"},
        {std::string(200, '1'), "HELO " + std::string(127, '1') + "\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.helo);
        channel_.localAddress = c.local;
        Run({{"220 ready\r\n", {c.helo}}});
    }
}

TEST_F(SmtpTranscript, ALineLongerThanTheBufferIsAProtocolError) {
    Run({{"220 ready\r\n", {"HELO 192.0.2.7\r\n"}}});
    channel_.sent.clear();
    protocol_.OnOverlongLine(std::string(2048, 'x'));
    EXPECT_EQ(std::vector<std::string>{"quit\r\n"}, channel_.sent);
    EXPECT_EQ(SmtpState::Quit, protocol_.state());
    EXPECT_TRUE(channel_.detailsOpened);
    // Once quit is sent, a long line is only shown.
    channel_.sent.clear();
    protocol_.OnOverlongLine(std::string(2048, 'y'));
    EXPECT_TRUE(channel_.sent.empty());
}

TEST(SmtpReply, ReadsTheCodeAndCutsTheLineEnd) {
    EXPECT_EQ(250, ReplyCode("250 OK\r\n"));
    EXPECT_EQ(354, ReplyCode("354-go"));
    EXPECT_EQ(0, ReplyCode("OK 250"));
    EXPECT_EQ(0, ReplyCode(""));
    EXPECT_EQ(999999999, ReplyCode("99999999999999"));
    EXPECT_EQ("250 OK", WithoutLineEnd("250 OK\r\n"));
    EXPECT_EQ("250 OK", WithoutLineEnd("250 OK"));
    EXPECT_EQ("", WithoutLineEnd("\r\n"));
}

} // namespace
} // namespace keywright
