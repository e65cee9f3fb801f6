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

// The export command and the clean-up the host is asked for on every way out.
const std::string kExported =
    "export /E \"C:\\Temp\\CRV1.tmp\" \"HKEY_CURRENT_USER\\Software\\Vendor\"";
const std::string kDeleted = "delete C:\\Temp\\CRV1.tmp";

TEST(MailCommand, ExportsTheKeyAndSendsItTheChosenWay) {
    struct Case {
        const char* name;
        std::uint32_t delivery;
        bool sendOk;
        MailCommandResult result;
        std::vector<std::string> calls;
    } cases[] = {
        {"system mail", 1, true, MailCommandResult::Sent,
         {"temp", kExported, "mapi Registry.re4 C:\\Temp\\CRV1.tmp", kDeleted}},
        {"own dialog", 0, true, MailCommandResult::Sent,
         {"temp", kExported, "dialog Registry.re4 C:\\Temp\\CRV1.tmp", kDeleted}},
        {"dialog cancelled", 0, false, MailCommandResult::NotSent,
         {"temp", kExported, "dialog Registry.re4 C:\\Temp\\CRV1.tmp", kDeleted}},
        {"any nonzero delivery", 7, false, MailCommandResult::NotSent,
         {"temp", kExported, "mapi Registry.re4 C:\\Temp\\CRV1.tmp", kDeleted}},
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
    struct Case {
        const char* name;
        void (*spoil)(RecordingHost&);
        MailCommandResult result;
        std::vector<std::string> calls;
    } cases[] = {
        {"the root", [](RecordingHost& h) { h.selection = "My Computer"; },
         MailCommandResult::RootRefused, {"warn You cannot export this key"}},
        {"no selection", [](RecordingHost& h) { h.hasSelection = false; },
         MailCommandResult::NoSelection, {}},
        {"no temporary file", [](RecordingHost& h) { h.tempOk = false; },
         MailCommandResult::NoTemporaryFile, {"temp", "warn The disk is full"}},
        {"export failed", [](RecordingHost& h) { h.exportOk = false; },
         MailCommandResult::ExportFailed,
         {"temp", kExported, "warn Export failed - ShellExecute", kDeleted}},
        // An export that wrote nothing is not sent as an empty attachment.
        {"export wrote nothing", [](RecordingHost& h) { h.exportWritten = false; },
         MailCommandResult::ExportFailed,
         {"temp", kExported,
          "warn The registry editor exported nothing for HKEY_CURRENT_USER\\Software\\Vendor. "
          "Nothing was sent.",
          kDeleted}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        c.spoil(host);
        EXPECT_EQ(c.result, RunMailCommand(host));
        EXPECT_EQ(c.calls, host.calls);
    }
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
