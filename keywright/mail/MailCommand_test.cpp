// The mail command's steps against a recording host: what is refused before anything
// runs, the export's command line, the choice of delivery, and the temporary file
// removed on every way out.
#include "mail/MailCommand.h"

#include "strings/KeywrightStrings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

class RecordingHost : public MailCommandHost {
public:
    bool hasSelection = true;
    std::string selection = "My Computer\\HKEY_CURRENT_USER\\Software\\Vendor";
    bool tempOk = true;
    bool exportOk = true;
    bool exportWritten = true;
    std::uint32_t delivery = 1;
    bool sendOk = true;
    std::vector<std::string> calls;

    bool SelectedKeyPath(std::string* path) override {
        *path = selection;
        return hasSelection;
    }
    bool MakeTemporaryFile(std::string* path, std::string* error) override {
        calls.push_back("temp");
        *path = "C:\\Temp\\CRV1.tmp";
        *error = "The disk is full";
        return tempOk;
    }
    bool RunExport(const std::string& parameters) override {
        calls.push_back("export " + parameters);
        return exportOk;
    }
    bool HoldsData(const std::string&) override { return exportWritten; }
    std::uint32_t Delivery() override { return delivery; }
    bool SendByMapi(const std::string& name, const std::string& path) override {
        calls.push_back("mapi " + name + " " + path);
        return sendOk;
    }
    bool OpenMailDialog(const std::string& name, const std::string& path) override {
        calls.push_back("dialog " + name + " " + path);
        return sendOk;
    }
    void DeleteTemporaryFile(const std::string& path) override { calls.push_back("delete " + path); }
    void Warn(const std::string& text) override { calls.push_back("warn " + text); }
};

TEST(MailCommand, ExportsTheKeyAndSendsItTheChosenWay) {
    const std::string exported =
        "export /E \"C:\\Temp\\CRV1.tmp\" \"HKEY_CURRENT_USER\\Software\\Vendor\"";
    struct Case {
        const char* name;
        std::uint32_t delivery;
        bool sendOk;
        MailCommandResult result;
        std::vector<std::string> calls;
    } cases[] = {
        {"system mail", 1, true, MailCommandResult::Sent,
         {"temp", exported, "mapi Registry.re4 C:\\Temp\\CRV1.tmp", "delete C:\\Temp\\CRV1.tmp"}},
        {"own dialog", 0, true, MailCommandResult::Sent,
         {"temp", exported, "dialog Registry.re4 C:\\Temp\\CRV1.tmp", "delete C:\\Temp\\CRV1.tmp"}},
        {"dialog cancelled", 0, false, MailCommandResult::NotSent,
         {"temp", exported, "dialog Registry.re4 C:\\Temp\\CRV1.tmp", "delete C:\\Temp\\CRV1.tmp"}},
        {"any nonzero delivery", 7, false, MailCommandResult::NotSent,
         {"temp", exported, "mapi Registry.re4 C:\\Temp\\CRV1.tmp", "delete C:\\Temp\\CRV1.tmp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        host.delivery = c.delivery;
        host.sendOk = c.sendOk;
        EXPECT_EQ(c.result, RunMailCommand(host));
        EXPECT_EQ(c.calls, host.calls);
    }
}

TEST(MailCommand, RefusesTheRootAndCleansUpAfterFailures) {
    RecordingHost root;
    root.selection = "My Computer";
    EXPECT_EQ(MailCommandResult::RootRefused, RunMailCommand(root));
    EXPECT_EQ(std::vector<std::string>{"warn You cannot export this key"}, root.calls);

    RecordingHost none;
    none.hasSelection = false;
    EXPECT_EQ(MailCommandResult::NoSelection, RunMailCommand(none));
    EXPECT_TRUE(none.calls.empty());

    RecordingHost noTemp;
    noTemp.tempOk = false;
    EXPECT_EQ(MailCommandResult::NoTemporaryFile, RunMailCommand(noTemp));
    EXPECT_EQ(std::vector<std::string>({"temp", "warn The disk is full"}), noTemp.calls);

    RecordingHost noExport;
    noExport.exportOk = false;
    EXPECT_EQ(MailCommandResult::ExportFailed, RunMailCommand(noExport));
    ASSERT_EQ(4u, noExport.calls.size());
    EXPECT_EQ("warn Export failed - ShellExecute", noExport.calls[2]);
    EXPECT_EQ("delete C:\\Temp\\CRV1.tmp", noExport.calls[3]);

    // An export that wrote nothing is not sent as an empty attachment.
    RecordingHost emptyExport;
    emptyExport.exportWritten = false;
    EXPECT_EQ(MailCommandResult::ExportFailed, RunMailCommand(emptyExport));
    ASSERT_EQ(4u, emptyExport.calls.size());
    EXPECT_EQ("warn The registry editor exported nothing for HKEY_CURRENT_USER\\Software\\Vendor. "
              "Nothing was sent.",
              emptyExport.calls[2]);
    EXPECT_EQ("delete C:\\Temp\\CRV1.tmp", emptyExport.calls[3]);
}

TEST(MailCommand, QuotesArgumentsAsTheCommandLineParserReadsThem) {
    struct Case {
        const char* text;
        const char* quoted;
    } cases[] = {
        {"HKEY_CURRENT_USER\\Software", "\"HKEY_CURRENT_USER\\Software\""},
        {"C:\\Documents and Settings\\Temp\\CRV1.tmp",
         "\"C:\\Documents and Settings\\Temp\\CRV1.tmp\""},
        {"HKEY_CURRENT_USER\\a \"quoted\" key", "\"HKEY_CURRENT_USER\\a \\\"quoted\\\" key\""},
        {"HKEY_CURRENT_USER\\odd\\\"", "\"HKEY_CURRENT_USER\\odd\\\\\\\"\""},
        {"ends in\\", "\"ends in\\\\\""},
        {"", "\"\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.quoted, QuoteArgument(c.text));
    }
    EXPECT_EQ("HKEY_USERS\\.DEFAULT", ExportKeyPath("My Computer\\HKEY_USERS\\.DEFAULT"));
    EXPECT_EQ("", ExportKeyPath("My Computer"));
}

TEST(MailCommand, ExplainsTheSystemMailResults) {
    struct Case {
        unsigned long result;
        const char* text;
    } cases[] = {
        {1, "Operation cancelled. No message was sent."},
        {2, "Unspecified errors occurred while sending the message. It is not known if the "
            "message was sent."},
        {3, "Logon failure. No message was sent."},
        {5, "There was insufficient memory to proceed."},
        {12, "One or more attachments could not be located. No message was sent."},
        {13, "The attachment could not be written to a temporary file."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        EXPECT_STREQ(c.text, KeywrightString(MapiResultString(c.result)));
    }
    for (unsigned long other : {0ul, 4ul, 26ul, 0xFFFFFFFFul})
        EXPECT_EQ(0u, MapiResultString(other));
    EXPECT_EQ("", MapiResultMessage(0));
    EXPECT_EQ("Logon failure. No message was sent.", MapiResultMessage(3));
    EXPECT_EQ("The system's mail interface reported error 26.", MapiResultMessage(26));
}

} // namespace
} // namespace keywright
