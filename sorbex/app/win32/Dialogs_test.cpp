// Tests under Wine of the real modal dialogs: a timer of the test's thread finds each
// dialog while it runs, sets its controls and closes it as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "viewer/ViewerFont.h"
#include "app/win32/OptionsDialog.h"
#include "app/win32/OptionsDialogIds.h"
#include "app/win32/ReplaceDialogs.h"
#include "app/win32/ReplaceDialogsIds.h"
#include "app/win32/WideText.h"
#include "platform/win32/ui/WindowBase.h"

namespace sorbex {
namespace {

// What the timer does to the dialog captioned `caption` once it is up. A timer
// procedure has no place for its own data, hence the one pointer of the thread.
struct DialogAction {
    std::wstring caption;
    std::function<void(HWND)> act;
    bool done = false;
};
thread_local DialogAction* pendingAction = nullptr;

void CALLBACK ActOnDialog(HWND, UINT, UINT_PTR timer, DWORD) {
    DialogAction* action = pendingAction;
    if (!action || action->done)
        return;
    const HWND dialog = FindWindowW(L"#32770", action->caption.c_str());
    if (!dialog || !IsWindowVisible(dialog))
        return;
    action->done = true;
    KillTimer(nullptr, timer);
    action->act(dialog);
}

// Runs `show`, which brings up a modal dialog, while the timer waits for it.
void WithDialog(const wchar_t* caption, std::function<void(HWND)> act,
                const std::function<void()>& show) {
    DialogAction action{caption, std::move(act)};
    pendingAction = &action;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, ActOnDialog);
    show();
    KillTimer(nullptr, timer);
    pendingAction = nullptr;
    EXPECT_TRUE(action.done) << "the dialog came up";
}

std::wstring ItemText(HWND dialog, int id) {
    return kestrix::ui::WindowText(GetDlgItem(dialog, id));
}

TEST(DialogsTest, ReplacementDialogsAnswerAsTheirButtonsAndBoxSay) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    std::wstring question;
    CReplaceConfirmation answer;
    WithDialog(
        L"Ersetzen",
        [&](HWND dialog) {
            question = ItemText(dialog, IDC_QUESTION);
            EXPECT_EQ(L"&Replace All", ItemText(dialog, IDC_REPLACE_ALL));
            SendDlgItemMessageW(dialog, IDC_REPLACE_ALL, BM_SETCHECK, BST_CHECKED, 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        },
        [&] { answer = RunReplaceConfirmation(instance, nullptr, "Replace \"gr\xE4y\"?"); });
    EXPECT_EQ(L"Replace \"gr\u00E4y\"?", question);
    EXPECT_EQ(CReplaceAnswer::No, answer.answer);
    EXPECT_TRUE(answer.replaceAll) << "No takes the box over";

    WithDialog(
        L"Ersetzen",
        [](HWND dialog) {
            SendDlgItemMessageW(dialog, IDC_REPLACE_ALL, BM_SETCHECK, BST_CHECKED, 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        },
        [&] { answer = RunReplaceConfirmation(instance, nullptr, "?"); });
    EXPECT_EQ(CReplaceAnswer::Cancel, answer.answer);
    EXPECT_FALSE(answer.replaceAll) << "Cancel does not";

    std::wstring lines;
    bool noLonger = false;
    WithDialog(
        L"Warning",
        [&](HWND dialog) {
            lines = ItemText(dialog, IDC_WARNING_LINE1) + ItemText(dialog, IDC_WARNING_LINE3);
            SendDlgItemMessageW(dialog, IDC_NO_MORE_WARNINGS, BM_SETCHECK, BST_CHECKED, 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        },
        [&] { noLonger = RunReplaceWarning(instance, nullptr); });
    EXPECT_TRUE(noLonger);
    EXPECT_EQ(L"Please replace text only in pure text files. If you replace text in binary"
              L"most times the document becomes unusable.",
              lines);
}

TEST(DialogsTest, OptionsAreReadAndWrittenWithTheLimitsClamped) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    CMemoryProfileStore store;
    CProfile profile(store);
    CAppSettings settings(profile);
    std::wstring font;
    std::wstring encoding;
    bool limitEditable = false;
    bool ok = false;
    std::wstring undoFields;
    WithDialog(
        L"Options",
        [&](HWND dialog) {
            font = ItemText(dialog, IDC_FONT_DESCRIPTION);
            encoding = ItemText(dialog, IDC_ENCODING);
            SendDlgItemMessageW(dialog, IDC_ENCODING, CB_SETCURSEL, 4, 0);
            EXPECT_EQ(L"10", ItemText(dialog, IDC_TAB_LIMIT));
            SendDlgItemMessageW(dialog, IDC_LIMIT_TABS, BM_CLICK, 0, 0);
            SendDlgItemMessageW(dialog, IDC_LIMIT_TABS, BM_CLICK, 0, 0);
            limitEditable = IsWindowEnabled(GetDlgItem(dialog, IDC_TAB_LIMIT)) != FALSE;
            SetDlgItemTextW(dialog, IDC_TAB_LIMIT, L"5000");
            undoFields = ItemText(dialog, IDC_UNDO_WALKS) + L"/" + ItemText(dialog, IDC_UNDO_MEGABYTES);
            SetDlgItemTextW(dialog, IDC_UNDO_WALKS, L"150");
            SetDlgItemTextW(dialog, IDC_UNDO_MEGABYTES, L"0");
            SendDlgItemMessageW(dialog, IDC_AUTO_LOAD, BM_SETCHECK, BST_UNCHECKED, 0);
            SendDlgItemMessageW(dialog, IDC_DONT_USE_VIEWER, BM_SETCHECK, BST_CHECKED, 0);
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        },
        [&] { ok = RunOptionsDialog(instance, nullptr, settings); });
    EXPECT_TRUE(ok);
    EXPECT_TRUE(limitEditable) << "the field follows \"&Max.\"";
    EXPECT_EQ(Wide(DescribeViewerFont(CViewerFont(), true)), font);
    EXPECT_EQ(999, settings.TabLimit()) << "the field is clamped to 999";
    EXPECT_EQ(L"5/100", undoFields) << "the journal's defaults";
    EXPECT_EQ(99, settings.UndoWalks());
    EXPECT_EQ(1, settings.UndoMegabytes());
    EXPECT_FALSE(settings.AutoLoad());
    EXPECT_TRUE(settings.DontUseFileViewer());
    EXPECT_EQ(L"Automatic (byte-order mark, UTF-8 or Windows-1252)", encoding) << "the default";
    EXPECT_EQ(CEncodingChoice::Utf16Be, settings.Encoding());
    std::string stored;
    EXPECT_TRUE(store.Read("Options", "Encoding", stored));
    EXPECT_EQ("utf-16be", stored) << "the profile's name of the choice";

    WithDialog(
        L"Options",
        [&](HWND dialog) {
            encoding = ItemText(dialog, IDC_ENCODING);
            SendDlgItemMessageW(dialog, IDC_ENCODING, CB_SETCURSEL, 2, 0);
            SetDlgItemTextW(dialog, IDC_TAB_LIMIT, L"0");
            undoFields = ItemText(dialog, IDC_UNDO_WALKS) + L"/" + ItemText(dialog, IDC_UNDO_MEGABYTES);
            SetDlgItemTextW(dialog, IDC_UNDO_WALKS, L"0");
            SetDlgItemTextW(dialog, IDC_UNDO_MEGABYTES, L"2048");
            SendDlgItemMessageW(dialog, IDC_LIMIT_TABS, BM_CLICK, 0, 0);
            limitEditable = IsWindowEnabled(GetDlgItem(dialog, IDC_TAB_LIMIT)) != FALSE;
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        },
        [&] { ok = RunOptionsDialog(instance, nullptr, settings); });
    EXPECT_FALSE(limitEditable);
    EXPECT_EQ(L"UTF-16, big-endian", encoding) << "the stored choice is shown";
    EXPECT_EQ(CEncodingChoice::Utf8, settings.Encoding());
    EXPECT_EQ(1, settings.TabLimit()) << "0 is 1";
    EXPECT_EQ(L"99/1", undoFields) << "as stored";
    EXPECT_EQ(0, settings.UndoWalks()) << "0 keeps no journal";
    EXPECT_EQ(2048, settings.UndoMegabytes());
    EXPECT_FALSE(settings.LimitTabs());
    EXPECT_EQ(std::nullopt, settings.PageLimit());
}

} // namespace
} // namespace sorbex
