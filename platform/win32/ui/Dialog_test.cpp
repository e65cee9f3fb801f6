// The dialog wrapper, the modeless list and the message loop under the system: modal
// results, the defaults for OK and Cancel, modeless dialogs that own themselves and leave
// the list as they close, child pages, and accelerators turned into commands.
#include "platform/win32/ui/Dialog.h"

#include "UiTestIds.h"
#include "UiTesting.h"
#include "platform/win32/ui/MessageLoop.h"
#include "platform/win32/ui/ModelessWindowList.h"
#include "platform/win32/ui/Window.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

namespace kestrix::ui {
namespace {

using testing::FailureRecorder;
using testing::PumpUntil;
using testing::RecordedFailures;

constexpr WORD kCmdEnd42 = 1234;

HINSTANCE Module() {
    return GetModuleHandleW(nullptr);
}

class TestDialog : public Dialog {
public:
    // The command the dialog posts itself once it is up; 0 for none.
    explicit TestDialog(WORD command = 0, bool throwAtInit = false, int* deleted = nullptr)
        : command_(command), throwAtInit_(throwAtInit), deleted_(deleted) {}
    ~TestDialog() override {
        if (deleted_)
            ++*deleted_;
    }

protected:
    bool OnInit() override {
        if (throwAtInit_)
            throw std::runtime_error("init");
        if (command_)
            Post(WM_COMMAND, command_);
        return true;
    }
    bool OnCommand(WORD id, WORD, HWND) override {
        if (id != kCmdEnd42)
            return false;
        End(42);
        return true;
    }

private:
    WORD command_;
    bool throwAtInit_;
    int* deleted_;
};

TEST(DialogTest, ModalDialogReturnsWhatItEndedWith) {
    FailureRecorder recorder;
    const struct {
        const char* name;
        WORD command;
        bool throwAtInit;
        int templateId;
        INT_PTR result;
    } cases[] = {
        {"its own command", kCmdEnd42, false, UI_TEST_IDD_POPUP, 42},
        {"OK not taken", IDOK, false, UI_TEST_IDD_POPUP, IDOK},
        {"Cancel not taken", IDCANCEL, false, UI_TEST_IDD_POPUP, IDCANCEL},
        {"no such template", 0, false, UI_TEST_IDD_MISSING, -1},
        {"OnInit throws", 0, true, UI_TEST_IDD_POPUP, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedFailures().clear();
        TestDialog dialog(c.command, c.throwAtInit);
        EXPECT_EQ(c.result, dialog.RunModal(Module(), c.templateId, nullptr));
        EXPECT_EQ(nullptr, dialog.hwnd());
        EXPECT_EQ(c.throwAtInit ? 1u : 0u, RecordedFailures().size());
    }
}

TEST(DialogTest, ModelessDialogGetsDialogKeysAndLeavesTheListAsItCloses) {
    ModelessWindowList list;
    MessageLoop loop(&list);
    int deleted = 0;
    HWND dialog = Dialog::Open(std::make_unique<TestDialog>(0, false, &deleted), Module(),
                               UI_TEST_IDD_POPUP, nullptr, &list);
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(list.Contains(dialog));
    EXPECT_NE(nullptr, Dialog::FromHandle(dialog));
    // Escape in the edit control is Cancel only through IsDialogMessage; Cancel not taken
    // closes a modeless dialog, and the base frees its object.
    PostMessageW(GetDlgItem(dialog, UI_TEST_IDC_EDIT), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil(loop, [&] { return !IsWindow(dialog); }));
    EXPECT_EQ(0u, list.size());
    EXPECT_EQ(1, deleted);
}

TEST(DialogTest, ModelessListKeepsOrderAndTheLimitItIsGiven) {
    auto fake = [](INT_PTR n) { return reinterpret_cast<HWND>(n); };
    ModelessWindowList unlimited;
    for (INT_PTR i = 1; i <= 150; ++i)
        EXPECT_TRUE(unlimited.Add(fake(i)));
    EXPECT_EQ(150u, unlimited.size());

    ModelessWindowList limited(2);
    EXPECT_TRUE(limited.Add(fake(1)));
    EXPECT_TRUE(limited.Add(fake(2)));
    EXPECT_FALSE(limited.Add(fake(3)));
    EXPECT_TRUE(limited.Add(fake(1))); // already there: not a second entry
    limited.Remove(fake(1));
    limited.Remove(fake(7));
    EXPECT_TRUE(limited.Add(fake(3)));
    EXPECT_EQ((std::vector<HWND>{fake(2), fake(3)}), limited.windows());
}

class ParentWindow : public Window {
protected:
    bool OnCommand(WORD id, WORD, HWND) override {
        lastCommand = id;
        return true;
    }

public:
    WORD lastCommand = 0;
};

TEST(DialogTest, ChildDialogSitsInsideItsParentAndKeepsOkAndCancelToIt) {
    ASSERT_TRUE(RegisterWindowClass({Module(), L"KestrixUiTestParent"}));
    ParentWindow parent;
    WindowParams params;
    params.instance = Module();
    params.className = L"KestrixUiTestParent";
    ASSERT_NE(nullptr, parent.Create(params));
    TestDialog page;
    HWND child = page.CreateChild(Module(), UI_TEST_IDD_CHILD, parent.hwnd());
    ASSERT_NE(nullptr, child);
    EXPECT_EQ(DialogKind::Child, page.kind());
    EXPECT_EQ(parent.hwnd(), GetParent(child));
    EXPECT_TRUE(GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(GetWindowLongPtrW(parent.hwnd(), GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
    SendMessageW(child, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(IsWindow(child));
}

TEST(DialogTest, AcceleratorsBecomeCommandsOfTheirTarget) {
    ASSERT_TRUE(RegisterWindowClass({Module(), L"KestrixUiTestParent"}));
    ParentWindow target;
    WindowParams params;
    params.instance = Module();
    params.className = L"KestrixUiTestParent";
    ASSERT_NE(nullptr, target.Create(params));
    ACCEL keys[] = {{FVIRTKEY, VK_F7, 555}};
    HACCEL table = CreateAcceleratorTableW(keys, 1);
    ASSERT_NE(nullptr, table);
    MessageLoop loop;
    loop.AddAccelerators(target.hwnd(), table);
    bool filterAsked = false;
    loop.SetAcceleratorFilter([&](MSG&) {
        filterAsked = true;
        return false;
    });
    MSG f7{target.hwnd(), WM_KEYDOWN, VK_F7, 0, 0, {}};
    EXPECT_TRUE(loop.PreTranslate(f7));
    EXPECT_EQ(555, target.lastCommand);
    EXPECT_FALSE(filterAsked);
    MSG f8{target.hwnd(), WM_KEYDOWN, VK_F8, 0, 0, {}};
    EXPECT_FALSE(loop.PreTranslate(f8));
    EXPECT_TRUE(filterAsked);
    DestroyAcceleratorTable(table);
}

} // namespace
} // namespace kestrix::ui
