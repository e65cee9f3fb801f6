// End to end: the mail command (3021) in the registry editor with the add-in. With the
// add-in's own client it opens the setup window on first use, the mail dialog sends
// the selected key's export to a real mail server on the loopback address, a refused
// recipient and a dead port are shown and leave the dialog open; with the root item
// selected nothing is exported; with the system's mail interface its answer is shown.
//   keywright_mail_test PATH_TO_KWLAUNCH      (under tests/smtp/loopback_smtp.py)
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

#include "EditorSession.h"
#include "PaintedCheck.h"

namespace {

using e2e::Check;
using e2e::EndsWith;
using e2e::Press;
using e2e::WaitFor;

constexpr DWORD kWaitMs = 30000;
constexpr WPARAM kCmdMail = 3021;
constexpr char kScratch[] = "Software\\KestrixMailE2E";
constexpr char kScratchStatusEnd[] = "HKEY_CURRENT_USER\\Software\\KestrixMailE2E";
constexpr char kEmailKey[] = "Software\\Velmara\\Keywright\\Email";
constexpr char kRestoreKey[] = "Software\\Velmara\\Keywright\\Restore";
// The mail windows' controls.
constexpr int kMailFrom = 1500;
constexpr int kMailTo = 1501;
constexpr int kMailCc = 1502;
constexpr int kMailSubject = 1503;
constexpr int kMailBody = 1505;
constexpr int kMailSend = 1506;
constexpr int kSetupServer = 1522;
constexpr int kStatusText = 1530;
constexpr int kErrorText = 1540;
constexpr int kErrorNumber = 1541;

std::string Text(HWND window) {
    return e2e::WindowText(window);
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

void SetValue(const char* path, const char* name, DWORD value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void SetValue(const char* path, const char* name, const std::string& text) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

// A key to mail, and the settings of a first use of the add-in's own client.
void PrepareRegistry(DWORD port) {
    SetValue(kScratch, "Text", std::string("mailed by the end-to-end test"));
    SetValue(kScratch, "Number", 42);
    SetValue((std::string(kScratch) + "\\Sub").c_str(), "Inner", std::string("x"));
    SetValue(kEmailKey, "FullName", std::string("Ann Admin"));
    SetValue(kEmailKey, "Address", std::string("ann@example.com"));
    SetValue(kEmailKey, "SmtpServer", std::string(""));
    SetValue(kEmailKey, "Port", port);
    SetValue(kEmailKey, "Delivery", 0);
    SetValue(kRestoreKey, "EmailWindowPos", std::string("-1 -1 -1 -1"));
}

std::string RegistryText(const char* path, const char* name) {
    char text[256] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_REG_SZ, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return {};
    return text;
}

void RemoveScratch() {
    RegDeleteKeyA(HKEY_CURRENT_USER, (std::string(kScratch) + "\\Sub").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kScratch);
}

// A visible dialog with that caption; null when none came in time.
HWND WaitForDialog(const char* caption) {
    return e2e::WaitForDialog(caption, kWaitMs, [](HWND w) { return IsWindowVisible(w) != FALSE; });
}

// A dialog of ours with the given control, other than a message box.
HWND WaitForDialogWith(const char* caption, int control) {
    return e2e::WaitForDialog(caption, kWaitMs, [&](HWND w) {
        return GetDlgItem(w, control) != nullptr && IsWindowVisible(w);
    });
}

void Type(HWND dialog, int id, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void ExpectPainted(HWND window, const std::string& what) {
    std::string detail;
    const bool painted = e2e::LooksPainted(window, &detail);
    Check(painted, what + " is painted (" + detail + ")");
}

void SelectScratchKey(const std::string& launcher, HWND frame) {
    e2e::RunLauncher(launcher, "reg:HKCU\\" + std::string(kScratch));
    HWND status = FindWindowExA(frame, nullptr, STATUSCLASSNAMEA, nullptr);
    const bool selected = WaitFor(kWaitMs, [&] { return EndsWith(Text(status), kScratchStatusEnd); });
    Check(selected, "the scratch key is selected (status: \"" + Text(status) + "\")");
}

// The names of the mail command's temporary export files.
std::set<std::string> TemporaryExportNames() {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    WIN32_FIND_DATAA found{};
    std::set<std::string> names;
    HANDLE search = FindFirstFileA((std::string(directory) + "CRV*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do
        names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// The temporary export files that were not there `before`: a file left by an earlier,
// interrupted run neither fails the test nor hides a fault.
int NewTemporaryExports(const std::set<std::string>& before) {
    int count = 0;
    for (const std::string& name : TemporaryExportNames())
        count += before.count(name) == 0 ? 1 : 0;
    return count;
}

// The editor's own export of the scratch key, as the add-in attaches it.
std::string ExpectedExport() {
    char directory[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, directory);
    const std::string file = std::string(directory) + "kestrix-mail-expected.reg";
    std::string command = "regedit.exe /E \"" + file + "\" \"HKEY_CURRENT_USER\\" + kScratch + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return "(regedit did not start)";
    WaitForSingleObject(process.hProcess, kWaitMs);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const std::string bytes = e2e::ReadFileBytes(file);
    DeleteFileA(file.c_str());
    return bytes;
}

HWND EditorTree(HWND frame) {
    HWND container = FindWindowExA(frame, nullptr, "REGEDIT", nullptr);
    return FindWindowExA(container ? container : frame, nullptr, WC_TREEVIEWA, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: keywright_mail_test PATH_TO_KWLAUNCH\n");
        return 2;
    }
    const DWORD port = static_cast<DWORD>(std::atoi(Environment("KESTRIX_SMTP_PORT").c_str()));
    const DWORD deadPort = static_cast<DWORD>(std::atoi(Environment("KESTRIX_SMTP_DEAD_PORT").c_str()));
    const std::string spool = e2e::WindowsPath(Environment("KESTRIX_SMTP_SPOOL")) + "\\";
    if (port == 0) {
        std::fprintf(stderr, "run under tests/smtp/loopback_smtp.py\n");
        return 2;
    }
    const std::string launcher = e2e::WindowsPath(argv[1]);
    PrepareRegistry(port);
    const std::set<std::string> exportsBefore = TemporaryExportNames();
    e2e::EditorSession editor;
    if (!editor.Start(launcher))
        return 1;
    HWND frame = editor.frame();
    SelectScratchKey(launcher, frame);

    // First use: no server yet, so the setup window comes at once over the mail dialog.
    PostMessageA(frame, WM_COMMAND, kCmdMail, 0);
    HWND mail = WaitForDialog("Mail Registry File");
    HWND setup = WaitForDialog("Setup Internet Mail");
    Check(mail != nullptr, "command 3021 opens the mail dialog");
    Check(setup != nullptr, "without a server the setup window opens at once");
    if (!mail || !setup) {
        editor.Close(kWaitMs);
        RemoveScratch();
        return 1;
    }
    ExpectPainted(setup, "the setup window");
    Type(setup, kSetupServer, " x ");
    Press(setup, IDOK);
    Check(e2e::TakeMessageBox(editor.processId()) == "Server name is blank",
          "a server name of one character is refused");
    Type(setup, kSetupServer, " 127.0.0.1 ");
    Press(setup, IDOK);
    Check(WaitFor(kWaitMs, [&] { return !IsWindow(setup); }), "OK closes the setup window");
    Check(Text(GetDlgItem(mail, kMailFrom)) == "Ann Admin <ann@example.com>",
          "From is filled from the settings (\"" + Text(GetDlgItem(mail, kMailFrom)) + "\")");
    ExpectPainted(mail, "the mail dialog");

    // A refused recipient: the status window shows the error and stays until cancelled.
    Type(mail, kMailTo, "refused@example.com");
    Type(mail, kMailSubject, "The key");
    Type(mail, kMailBody, "Here is the key.\r\n.\r\nEnd.");
    Press(mail, kMailSend);
    HWND status = WaitForDialog("Email Status");
    Check(status != nullptr, "Send opens the status window");
    const bool failed = WaitFor(
        kWaitMs, [&] { return Text(GetDlgItem(status, kStatusText)) == "An Online error occurred!"; });
    Check(failed, "a refused recipient ends with the error status (\"" +
                      Text(GetDlgItem(status, kStatusText)) + "\")");
    ExpectPainted(status, "the status window");
    Press(status, IDCANCEL);
    Check(WaitFor(kWaitMs, [&] { return !IsWindow(status); }), "Cancel closes the status window");
    Check(IsWindow(mail) && Text(GetDlgItem(mail, kMailTo)) == "refused@example.com",
          "the mail dialog stays open with its fields");

    // A dead port: the error window says why, and the status window goes with it.
    SetValue(kEmailKey, "Port", deadPort);
    Press(mail, kMailSend);
    HWND error = WaitForDialogWith("Keywright", kErrorText);
    Check(error != nullptr, "a dead port shows the error window");
    if (error) {
        Check(Text(GetDlgItem(error, kErrorText)) == "Can not connect to 127.0.0.1",
              "it names the server (\"" + Text(GetDlgItem(error, kErrorText)) + "\")");
        Check(Text(GetDlgItem(error, kErrorNumber)) == "10061", "and the socket error");
        ExpectPainted(error, "the error window");
        Press(error, IDOK);
    }
    Check(WaitFor(kWaitMs, [&] { return FindWindowA("#32770", "Email Status") == nullptr; }),
          "the status window closes after a failed connection");

    // A stored port beyond 16 bits is refused, not cut to another port.
    SetValue(kEmailKey, "Port", static_cast<DWORD>(65536 + port));
    Press(mail, kMailSend);
    const std::string portRefused = e2e::TakeMessageBox(editor.processId());
    Check(portRefused.rfind("Port " + std::to_string(65536 + port) + " is not", 0) == 0,
          "a port beyond 65535 is refused (\"" + portRefused + "\")");
    Check(FindWindowA("#32770", "Email Status") == nullptr, "and nothing is sent");
    SetValue(kEmailKey, "Port", port);

    // Delivered: To and Cc recipients, the key's export attached intact.
    Type(mail, kMailTo, "Bob <bob@example.com>");
    Type(mail, kMailCc, "carol@example.com");
    Press(mail, kMailSend);
    Check(WaitFor(kWaitMs, [&] { return !IsWindow(mail); }),
          "the mail dialog closes once the server has accepted the message");
    const bool received = WaitFor(kWaitMs, [&] {
        return GetFileAttributesA((spool + "1.eml").c_str()) != INVALID_FILE_ATTRIBUTES;
    });
    Check(received, "the server received the message");
    Check(e2e::ReadFileBytes(spool + "1.rcpt") == "ann@example.com\nbob@example.com\ncarol@example.com\n",
          "to both recipients (\"" + e2e::ReadFileBytes(spool + "1.rcpt") + "\")");
    const std::string expected = ExpectedExport();
    Check(expected.size() > 2 && e2e::ReadFileBytes(spool + "1.attachment-1") == expected,
          "the attachment is the key's export, byte for byte (" + std::to_string(expected.size()) +
              " bytes)");
    Check(e2e::ReadFileBytes(spool + "1.eml").find("Here is the key.\r\n.\r\nEnd.") != std::string::npos,
          "the body arrives with its lone dot");
    Check(WaitFor(kWaitMs, [&] { return NewTemporaryExports(exportsBefore) == 0; }),
          "the temporary export file is deleted");

    // A stored place moves and sizes the dialog; the buttons keep to its right edge and
    // the body fills it; closing stores the place again.
    SetValue(kRestoreKey, "EmailWindowPos", std::string("40 50 700 500"));
    PostMessageA(frame, WM_COMMAND, kCmdMail, 0);
    HWND placed = WaitForDialog("Mail Registry File");
    Check(placed != nullptr, "the mail dialog opens again, without the setup window");
    if (placed) {
        RECT r{}, client{}, send{}, body{};
        GetWindowRect(placed, &r);
        Check(r.left == 40 && r.top == 50 && r.right - r.left == 700 && r.bottom - r.top == 500,
              "it stands where EmailWindowPos says (" + std::to_string(r.left) + " " +
                  std::to_string(r.top) + " " + std::to_string(r.right - r.left) + " " +
                  std::to_string(r.bottom - r.top) + ")");
        GetClientRect(placed, &client);
        MapWindowPoints(placed, nullptr, reinterpret_cast<POINT*>(&client), 2);
        GetWindowRect(GetDlgItem(placed, kMailSend), &send);
        GetWindowRect(GetDlgItem(placed, kMailBody), &body);
        Check(client.right - send.right < 20 && client.right - body.right < 20 &&
                  client.bottom - body.bottom < 20,
              "Send and the body follow the right and lower edges");
        Check(Text(GetDlgItem(placed, kMailTo)).empty(), "a new message starts empty");
        Press(placed, IDCANCEL);
        Check(WaitFor(kWaitMs, [&] { return !IsWindow(placed); }), "Cancel closes the mail dialog");
        Check(RegistryText(kRestoreKey, "EmailWindowPos") == "40 50 700 500",
              "closing stores the place (\"" + RegistryText(kRestoreKey, "EmailWindowPos") + "\")");
    }

    // The root item: nothing to export.
    HWND tree = EditorTree(frame);
    LRESULT root = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0);
    SendMessageA(tree, TVM_SELECTITEM, TVGN_CARET, root);
    PostMessageA(frame, WM_COMMAND, kCmdMail, 0);
    const std::string refused = e2e::TakeMessageBox(editor.processId());
    Check(refused == "You cannot export this key", "the root is refused (\"" + refused + "\")");
    Check(NewTemporaryExports(exportsBefore) == 0, "and no temporary file is left");

    // The system's mail interface: Wine's answers with an error, which is shown.
    SetValue(kEmailKey, "Delivery", 1);
    SelectScratchKey(launcher, frame);
    PostMessageA(frame, WM_COMMAND, kCmdMail, 0);
    const std::string answer = e2e::TakeMessageBox(editor.processId());
    Check(answer.find("mail interface") != std::string::npos,
          "with Delivery 1 the system mail interface's answer is shown (\"" + answer + "\")");
    Check(FindWindowA("#32770", "Mail Registry File") == nullptr,
          "and the add-in's own dialog never opens");
    Check(WaitFor(kWaitMs, [&] { return NewTemporaryExports(exportsBefore) == 0; }),
          "the temporary export file is deleted after the system mail call too");

    editor.Close(kWaitMs);
    RemoveScratch();
    return e2e::ExitCode();
}
