// The message builder: address entries and fields, the header lines, dot-stuffing,
// the attachment part in its two encodings, the date and its zone, and what is
// refused before anything is sent.
#include "mail/MessageBuilder.h"

#include "mail/Base64.h"
#include "platform/FileSystem.h"
#include "platform/testing/FaultyFileSystem.h"
#include "platform/testing/TempTree.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace keywright {
namespace {

class FixedTime : public MailTimeSource {
public:
    MailLocalTime now{2004, 3, 0, 7, 9, 5, 1};
    MailTimeZone zone{-60, 0, -60, ZoneState::Standard};
    bool zoneKnown = true;
    std::uint32_t seconds = 1078646701;

    MailLocalTime LocalNow() override { return now; }
    bool TimeZone(MailTimeZone* z) override {
        *z = zone;
        return zoneKnown;
    }
    std::uint32_t SecondsNow() override { return seconds; }
};

std::string DecodeBase64(const std::string& text) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned value = 0;
    int bits = 0;
    for (char c : text) {
        const std::size_t digit = alphabet.find(c);
        if (digit == std::string::npos)
            continue;
        value = (value << 6) | static_cast<unsigned>(digit);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((value >> bits) & 0xFF);
        }
    }
    return out;
}

TEST(ParseAddress, SplitsAnEntryIntoAddressAndName) {
    struct Case {
        const char* entry;
        AddressParse result;
        const char* address;
        const char* name;
    } cases[] = {
        {"John Doe <john@example.com>", AddressParse::Valid, "john@example.com", "John Doe"},
        {"john@example.com", AddressParse::Valid, "john@example.com", ""},
        {"  <john@example.com>  ", AddressParse::Valid, "john@example.com", ""},
        {"John john@example.com", AddressParse::Valid, "john@example.com", "John"},
        {"\"Doe, John\" <john@example.com>", AddressParse::Valid, "john@example.com",
         "\"Doe, John\""},
        {"<john@example.com> John", AddressParse::Valid, "john@example.com", "John"},
        {"\"a@b\" real@example.com", AddressParse::Valid, "real@example.com", "\"a@b\""},
        {"a@b, c@d", AddressParse::Valid, "a@b,", "c@d"},
        {"\tJo\r\n <jo@x>\r\n", AddressParse::Valid, "jo@x", "Jo"},
        {"   ", AddressParse::Empty, "", ""},
        {"", AddressParse::Empty, "", ""},
        {"John Doe", AddressParse::Invalid, "", ""},
        {"\"john@example.com\"", AddressParse::Invalid, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        std::vector<std::string> warnings;
        MailRecipient r{"old", "old"};
        EXPECT_EQ(c.result, ParseAddress(c.entry, &r, [&](const std::string& t) {
                      warnings.push_back(t);
                  }));
        EXPECT_EQ(c.address, r.address);
        EXPECT_EQ(c.name, r.name);
        EXPECT_EQ(c.result == AddressParse::Invalid ? 1u : 0u, warnings.size());
    }
    std::string warning;
    MailRecipient r;
    ParseAddress("  John Doe ", &r, [&](const std::string& t) { warning = t; });
    EXPECT_EQ("Invalid email address John Doe - no @ sign found.", warning);
}

TEST(ParseAddress, SplitsAFieldAtSemicolonsOutsideQuotes) {
    struct Case {
        const char* field;
        bool ok;
        std::vector<std::string> addresses;
    } cases[] = {
        {"a@x; b@y", true, {"a@x", "b@y"}},
        {"a@x, b@y", true, {"a@x,"}},
        {"\"Doe; John\" <j@x>; k@y", true, {"j@x", "k@y"}},
        {";; a@x ;  ; ", true, {"a@x"}},
        {"", true, {}},
        {"a@x; \"Open quote b@y", true, {"a@x"}},
        {"a@x; nobody; c@z", false, {"a@x"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        std::vector<MailRecipient> list;
        EXPECT_EQ(c.ok, ParseAddressField(c.field, &list, [](const std::string&) {}));
        std::vector<std::string> addresses;
        for (const MailRecipient& r : list)
            addresses.push_back(r.address);
        EXPECT_EQ(c.addresses, addresses);
    }
}

class BuildMessageTest : public ::testing::Test {
protected:
    BuildMessageTest() : files_(kestrix::MakeSystemFileSystem()), faulty_(*files_) {
        context_.warn = [this](const std::string& text) { warnings_.push_back(text); };
        context_.time = &time_;
        context_.files = &faulty_;
        message_.from = "Ann Smith <ann@example.com>";
        message_.to = "bob@example.com";
        message_.subject = "Key";
        message_.body = "Hello";
    }

    bool Build() { return BuildMessage(message_, context_); }

    std::string Key() const { return MessageKey(time_.seconds); }

    // The text after the header's empty line.
    std::string AfterHeaders() const {
        const std::size_t end = message_.text.find("\r\n\r\n");
        return end == std::string::npos ? "" : message_.text.substr(end + 4);
    }

    std::string AttachmentPart() const {
        const std::string disposition = "filename=\"Registry.re4\"\r\n\r\n";
        const std::size_t begin = message_.text.find(disposition);
        const std::size_t end = message_.text.rfind("\r\n----=_Part_Boundary.");
        if (begin == std::string::npos || end == std::string::npos || end < begin)
            return "<no attachment>";
        return message_.text.substr(begin + disposition.size(),
                                    end - begin - disposition.size());
    }

    std::unique_ptr<kestrix::FileSystem> files_;
    kestrix::FaultyFileSystem faulty_;
    kestrix::TempTree tree_;
    FixedTime time_;
    MailBuildContext context_;
    CMailMessage message_;
    std::vector<std::string> warnings_;
};

TEST_F(BuildMessageTest, WritesTheHeadersAndTheBodyOfAPlainMessage) {
    message_.to = "Bob <bob@example.com>; carol@example.com";
    message_.cc = "\"Dan D\" <dan@example.com>";
    ASSERT_TRUE(Build());
    EXPECT_EQ("ann@example.com", message_.senderAddress);
    EXPECT_EQ("Date: Sun, 7 Mar 2004 09:05:01 +0100\r\n"
              "From: Ann Smith <ann@example.com>\r\n"
              "Subject: Key\r\n"
              "To: \"Bob\" <bob@example.com>,<carol@example.com>\r\n"
              "cc: \"\"Dan D\"\" <dan@example.com>\r\n"
              "Message-ID: <" + Key() + "@keywright.velmara.invalid>\r\n"
              "\r\n"
              "Hello\r\n"
              ".\r\n",
              message_.text);
    EXPECT_TRUE(warnings_.empty());
}

TEST_F(BuildMessageTest, LeavesOutEmptyRecipientHeadersAndMimeWithoutAttachment) {
    message_.to = "";
    message_.cc = "cc-only@example.com";
    ASSERT_TRUE(Build());
    EXPECT_EQ(std::string::npos, message_.text.find("To:"));
    EXPECT_NE(std::string::npos, message_.text.find("\r\ncc: <cc-only@example.com>\r\n"));
    EXPECT_EQ(std::string::npos, message_.text.find("MIME-Version"));
    EXPECT_EQ(std::string::npos, message_.text.find("Content-"));
}

TEST_F(BuildMessageTest, StuffsDotsSoThatNoBodyLineEndsTheData) {
    struct Case {
        const char* body;
        const char* sent;
    } cases[] = {
        {".", "..\r\n.\r\n"},
        {"a\r\n.\r\nb", "a\r\n..\r\nb\r\n.\r\n"},
        {".hidden\r\n", "..hidden\r\n.\r\n"},
        {"a.b\r\n", "a.b\r\n.\r\n"},
        {"", "\r\n.\r\n"},
        // Bare line feeds and carriage returns end lines too, so none can hide a dot.
        {"a\n.\nb", "a\r\n..\r\nb\r\n.\r\n"},
        {"a\r.\rb", "a\r\n..\r\nb\r\n.\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        message_.body = c.body;
        ASSERT_TRUE(Build());
        EXPECT_EQ(c.sent, AfterHeaders());
    }
}

TEST_F(BuildMessageTest, KeepsTypedLineBreaksOutOfTheHeaders) {
    message_.from = "ann@example.com\r\nBcc: eve@example.com";
    message_.subject = "Hi\r\nBcc: eve@example.com\n\nbody";
    message_.to = "Bob\r\nBcc: Eve <bob@example.com>";
    ASSERT_TRUE(Build());
    const std::string headers = message_.text.substr(0, message_.text.find("\r\n\r\n") + 2);
    EXPECT_EQ(std::string::npos, headers.find("\r\nBcc:"));
    EXPECT_NE(std::string::npos, headers.find("\r\nSubject: Hi Bcc: eve@example.com body\r\n"));
    EXPECT_NE(std::string::npos, headers.find("\r\nFrom: ann@example.com Bcc: eve@example.com\r\n"));
    EXPECT_NE(std::string::npos, headers.find("\r\nTo: \"Bob Bcc: Eve\" <bob@example.com>\r\n"));
    // The address stops at the line break, so the commands cannot carry one either.
    EXPECT_EQ("ann@example.com", message_.senderAddress);
    ASSERT_EQ(1u, message_.toList.size());
    EXPECT_EQ("bob@example.com", message_.toList[0].address);
}

TEST_F(BuildMessageTest, RefusesMissingAndMalformedAddresses) {
    struct Case {
        const char* from;
        const char* to;
        const char* cc;
        const char* warning;
    } cases[] = {
        {"   ", "bob@example.com", "", "FROM address is invalid"},
        {"ann", "bob@example.com", "", "Invalid email address ann - no @ sign found."},
        {"ann@example.com", "", " ; ;  ", "No address specified in TO or CC"},
        {"ann@example.com", "bob@example.com; nobody", "",
         "Invalid email address nobody - no @ sign found."},
        {"ann@example.com", "bob@example.com", "x", "Invalid email address x - no @ sign found."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        warnings_.clear();
        message_.from = c.from;
        message_.to = c.to;
        message_.cc = c.cc;
        EXPECT_FALSE(Build());
        EXPECT_EQ(std::vector<std::string>{c.warning}, warnings_);
        EXPECT_TRUE(message_.text.empty());
        EXPECT_TRUE(message_.toList.empty());
        EXPECT_TRUE(message_.ccList.empty());
        EXPECT_TRUE(message_.senderAddress.empty());
    }
}

TEST_F(BuildMessageTest, AttachesPlainTextAsSevenBit) {
    tree_.Write("plain.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n.dot=1\r\n");
    message_.attachmentName = "Registry.re4";
    message_.attachmentPath = tree_.Path("plain.reg");
    ASSERT_TRUE(Build());
    const std::string boundary = "--=_Part_Boundary." + Key();
    EXPECT_EQ("MIME-Version: 1.0\r\n"
              "Content-Type: multipart/mixed;boundary=\"" + boundary + "\"\r\n"
              "\r\n"
              "--" + boundary + "\r\n"
              "\r\n"
              "Hello\r\n"
              "--" + boundary + "\r\n"
              "Content-Type: text/plain; name=\"Registry.re4\"\r\n"
              "Content-Transfer-Encoding: 7bit\r\n"
              "Content-Disposition: attachment; filename=\"Registry.re4\"\r\n"
              "\r\n"
              "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software]\r\n..dot=1\r\n"
              "\r\n--" + boundary + "--\r\n"
              ".\r\n",
              message_.text.substr(message_.text.find("MIME-Version")));
}

// A boundary that the typed body or a plain attachment holds would end the part there
// for the recipient: the builder takes the key of the next seed until neither holds it.
TEST_F(BuildMessageTest, ThePartBoundaryIsFoundInNeitherPart) {
    const std::string prefix = "--=_Part_Boundary.";
    const std::string first = prefix + MessageKey(time_.seconds);
    const std::string second = prefix + MessageKey(time_.seconds + 1);
    const std::string third = prefix + MessageKey(time_.seconds + 2);
    message_.attachmentName = "Registry.re4";
    message_.attachmentPath = tree_.Path("plain.reg");
    const struct {
        const char* name;
        std::string body;
        std::string attachment;
        std::string boundary;
    } cases[] = {
        {"neither", "Hello", "REGEDIT4\r\n", first},
        {"the body", "--" + first + "\r\nforged part", "REGEDIT4\r\n", second},
        {"the attachment", "Hello", "REGEDIT4\r\n;" + first + "\r\n", second},
        {"both, in turn", "x" + first, second + "\r\n", third},
        // Base64 has no '-': an attachment sent so cannot hold one.
        {"an encoded attachment", "Hello", "\xFF\xFE" + first, first},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        message_.body = c.body;
        tree_.Write("plain.reg", c.attachment);
        ASSERT_TRUE(Build());
        const std::string& text = message_.text;
        EXPECT_NE(std::string::npos, text.find("boundary=\"" + c.boundary + "\"\r\n"));
        // Three delimiters: before the body, before the attachment, and the closing one.
        std::size_t count = 0;
        for (std::size_t at = text.find("\r\n--" + c.boundary); at != std::string::npos;
             at = text.find("\r\n--" + c.boundary, at + 1))
            ++count;
        EXPECT_EQ(3u, count);
        EXPECT_EQ("<" + MessageKey(time_.seconds) + "@",
                  text.substr(text.find("Message-ID: ") + 12, kMessageKeyLength + 2))
            << "the message's own key stays the first seed's";
    }
}

TEST_F(BuildMessageTest, AttachesEverythingElseAsBase64ThatDecodesToTheSameBytes) {
    // The editor's export on current systems: UTF-16LE with a byte-order mark.
    std::string utf16 = "\xFF\xFE";
    for (char c : std::string("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER]\r\n"))
        utf16 += std::string{c, '\0'};
    const std::string cases[] = {
        utf16,
        "lines\nwith bare line feeds\n",
        "a lone \r carriage return",
        "caf\xE9\r\n",
        std::string(999, 'x') + "\r\n",
        std::string(1, '\0'),
        std::string(5000, '.'),
    };
    message_.attachmentName = "Registry.re4";
    message_.attachmentPath = tree_.Path("export.reg");
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.substr(0, 20));
        tree_.Write("export.reg", bytes);
        ASSERT_TRUE(Build());
        EXPECT_NE(std::string::npos, message_.text.find("Content-Transfer-Encoding: base64\r\n"));
        EXPECT_EQ(std::string::npos, message_.text.find("7bit"));
        const std::string part = AttachmentPart();
        EXPECT_EQ(bytes, DecodeBase64(part));
        for (std::size_t begin = 0; begin < part.size();) {
            std::size_t end = part.find("\r\n", begin);
            if (end == std::string::npos)
                end = part.size();
            EXPECT_LE(end - begin, kBase64LineLength);
            begin = end + 2;
        }
    }
}

TEST_F(BuildMessageTest, SaysWhyAnAttachmentCannotBeRead) {
    message_.attachmentName = "Registry.re4";
    message_.attachmentPath = tree_.Path("missing.reg");
    EXPECT_FALSE(Build());
    ASSERT_EQ(1u, warnings_.size());
    EXPECT_EQ(0u, warnings_[0].find("Could not open file " + message_.attachmentPath + "\n\n"));
    EXPECT_GT(warnings_[0].size(), message_.attachmentPath.size() + 22);

    warnings_.clear();
    tree_.Write("locked.reg", "x");
    message_.attachmentPath = tree_.Path("locked.reg");
    faulty_.failRead[message_.attachmentPath] = kestrix::FileFailure::Locked;
    EXPECT_FALSE(Build());
    ASSERT_EQ(1u, warnings_.size());
    EXPECT_EQ(0u, warnings_[0].find("Could not read from file\n\n"));
    EXPECT_TRUE(message_.text.empty());
}

TEST(MailDate, WritesTheLocalTimeAndTheZoneOffset) {
    const MailLocalTime time{2024, 12, 6, 31, 23, 59, 58};
    struct Case {
        MailTimeZone zone;
        bool known;
        const char* text;
    } cases[] = {
        {{-60, 0, -60, ZoneState::Standard}, true, "Sat, 31 Dec 2024 23:59:58 +0100"},
        {{-60, 0, -60, ZoneState::Daylight}, true, "Sat, 31 Dec 2024 23:59:58 +0200"},
        {{0, 0, -60, ZoneState::Standard}, true, "Sat, 31 Dec 2024 23:59:58 -0000"},
        {{300, 0, -60, ZoneState::Daylight}, true, "Sat, 31 Dec 2024 23:59:58 -0400"},
        {{-330, 0, 0, ZoneState::Unknown}, true, "Sat, 31 Dec 2024 23:59:58 +0530"},
        {{210, 0, -60, ZoneState::Unknown}, true, "Sat, 31 Dec 2024 23:59:58 -0330"},
        {{-60, 0, 0, ZoneState::Standard}, false, "Sat, 31 Dec 2024 23:59:58"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, FormatMailDate(time, c.known ? &c.zone : nullptr));
    }
    EXPECT_EQ("Mon, 5 Jan 1998 07:08:09", FormatMailDate({1998, 1, 1, 5, 7, 8, 9}, nullptr));
    // Numbers the system never gives leave the names empty rather than reading past
    // the tables.
    EXPECT_EQ(", 1  2000 00:00:00", FormatMailDate({2000, 13, 7, 1, 0, 0, 0}, nullptr));
}

TEST(MessageKey, IsTwentySixLowerCaseLettersThatTheSeedDecides) {
    const std::string key = MessageKey(12345);
    ASSERT_EQ(kMessageKeyLength, key.size());
    for (char c : key)
        EXPECT_TRUE(c >= 'a' && c <= 'z') << key;
    EXPECT_EQ(key, MessageKey(12345));
    EXPECT_NE(key, MessageKey(12346));
}

TEST(Base64, EncodesTheStandardVectors) {
    struct Case {
        const char* bytes;
        const char* text;
    } cases[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(c.text, EncodeBase64Lines(c.bytes));
    }
    EXPECT_EQ("/+8=", EncodeBase64Lines("\xFF\xEF"));
    const std::string lines = EncodeBase64Lines(std::string(57 * 2 + 1, 'a'));
    EXPECT_EQ(76u, lines.find("\r\n"));
    EXPECT_EQ(76u * 2 + 2, lines.rfind("\r\n"));
    EXPECT_EQ(76u * 2 + 4 + 4, lines.size());
}

} // namespace
} // namespace keywright
