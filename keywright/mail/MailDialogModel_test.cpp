// The mail dialog's rules: the From text, server names, the port field, and the
// layout when the dialog is resized.
#include "mail/MailDialogModel.h"

#include "mail/MailSettings.h"
#include "platform/memory/MemoryRegistry.h"
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

TEST(MailDialogModel, FillsFromAndChecksServerAndPort) {
    EXPECT_EQ("John Doe <john@example.com>", FromField("John Doe", "john@example.com"));
    EXPECT_EQ("john@example.com", FromField("", "john@example.com"));

    struct ServerCase {
        const char* typed;
        const char* usable;
    } servers[] = {
        {"  mail.example.com\t", "mail.example.com"}, {"ab", "ab"}, {" a ", ""},
        {"", ""},                                       {"\r\n", ""},
    };
    for (const ServerCase& c : servers) {
        SCOPED_TRACE(c.typed);
        EXPECT_EQ(c.usable, UsableServerName(c.typed));
    }

    struct PortCase {
        const char* text;
        std::uint32_t port;
    } ports[] = {
        {"25", 25}, {" 2525 ", 2525}, {"", 0}, {"abc", 0}, {"587x", 587},
        {"4294967295", 4294967295u}, {"4294967296", 0}, {"99999999999999999999", 0},
    };
    for (const PortCase& c : ports) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.port, ParsePortField(c.text));
    }
    // A number beyond 16 bits is no port at all, not the port it would be cut to.
    for (std::uint32_t stored : {0u, 65536u, 65536u + 25u, 4294967295u}) {
        SCOPED_TRACE(stored);
        EXPECT_EQ(0u, UsablePort(stored));
    }
    EXPECT_EQ(25u, UsablePort(25));
    EXPECT_EQ(65535u, UsablePort(65535));
}

TEST(MailDialogModel, ResizingMovesButtonsStretchesFieldsAndFillsTheBody) {
    MailDialogLayout initial;
    initial.width = 400;
    initial.height = 300;
    initial.parts[kMailSend] = {330, 10, 390, 30};
    initial.parts[kMailCancel] = {330, 35, 390, 55};
    initial.parts[kMailSetup] = {330, 60, 390, 80};
    initial.parts[kMailFrom] = {60, 10, 320, 30};
    initial.parts[kMailTo] = {60, 35, 320, 55};
    initial.parts[kMailCc] = {60, 60, 320, 80};
    initial.parts[kMailSubject] = {60, 85, 320, 105};
    initial.parts[kMailAttachment] = {60, 110, 320, 125};
    initial.parts[kMailBody] = {10, 130, 390, 290};

    const MailDialogLayout wider = LayOutMailDialog(initial, 600, 450);
    EXPECT_EQ(600, wider.width);
    EXPECT_EQ(450, wider.height);
    for (int part : {kMailSend, kMailCancel, kMailSetup}) {
        SCOPED_TRACE(part);
        EXPECT_EQ(530, wider.parts[part].left);
        EXPECT_EQ(590, wider.parts[part].right);
        EXPECT_EQ(initial.parts[part].top, wider.parts[part].top);
    }
    for (int part : {kMailFrom, kMailTo, kMailCc, kMailSubject, kMailAttachment}) {
        SCOPED_TRACE(part);
        EXPECT_EQ(60, wider.parts[part].left);
        EXPECT_EQ(520, wider.parts[part].right);
        EXPECT_EQ(initial.parts[part].bottom, wider.parts[part].bottom);
    }
    EXPECT_EQ(10, wider.parts[kMailBody].left);
    EXPECT_EQ(130, wider.parts[kMailBody].top);
    EXPECT_EQ(590, wider.parts[kMailBody].right);
    EXPECT_EQ(440, wider.parts[kMailBody].bottom);

    // Never smaller than the template.
    const MailDialogLayout smaller = LayOutMailDialog(initial, 100, 50);
    EXPECT_EQ(400, smaller.width);
    EXPECT_EQ(390, smaller.parts[kMailBody].right);
    EXPECT_EQ(290, smaller.parts[kMailBody].bottom);
}

TEST(MailSettings, StartFromTheDefaultsAndKeepWhatIsStored) {
    kestrix::MemoryRegistry registry;
    std::vector<std::string> messages;
    SettingsBackend backend;
    backend.registry = &registry;
    backend.showMessage = [&](const char* text) { messages.push_back(text); };

    const MailSettings first = LoadMailSettings(backend);
    EXPECT_EQ("John Doe", first.fullName);
    EXPECT_EQ("john.doe@example.invalid", first.address);
    EXPECT_EQ("", first.server);
    EXPECT_EQ(25u, first.port);
    // Delivery goes through the system's mail program until the user says otherwise.
    EXPECT_EQ(1u, ReadNumberSetting(backend, kSettingDelivery, 7));
    EXPECT_EQ("-1 -1 -1 -1", ReadTextSetting(backend, kSettingEmailWindowPos));

    const MailSettings typed{"", "ann@example.com", "mail.example.com", 2525};
    EXPECT_TRUE(StoreMailSettings(backend, typed));
    const MailSettings again = LoadMailSettings(backend);
    EXPECT_EQ("", again.fullName);
    EXPECT_EQ("ann@example.com", again.address);
    EXPECT_EQ("mail.example.com", again.server);
    EXPECT_EQ(2525u, again.port);
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace keywright
