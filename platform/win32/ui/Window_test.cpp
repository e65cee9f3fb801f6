// The window wrapper under the system: handlers that throw reach the failure hook and the
// window goes on; a window that owns its object frees it once, after its last message,
// even when it is destroyed from inside its own handler; creation failures free it too.
#include "platform/win32/ui/Window.h"

#include "UiTesting.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrix::ui {
namespace {

using testing::FailureRecorder;
using testing::RecordedFailures;

constexpr wchar_t kClass[] = L"KestrixUiTestWindow";
constexpr UINT kMsgThrow = WM_APP + 1;
constexpr UINT kMsgThrowBadAlloc = WM_APP + 2;
constexpr UINT kMsgThrowInteger = WM_APP + 3;
constexpr UINT kMsgAsk = WM_APP + 4;
constexpr WORD kCmdDestroySelf = 100;

// What happened to test windows, in order.
std::vector<std::string>& Events() {
    static std::vector<std::string> events;
    return events;
}

class TestWindow : public Window {
public:
    enum class Start { Normal, Refuse, Throw };
    explicit TestWindow(Start start = Start::Normal) : start_(start) {}
    ~TestWindow() override { Events().push_back("deleted"); }

protected:
    bool OnCreate(const CREATESTRUCTW&) override {
        if (start_ == Start::Throw)
            throw std::runtime_error("no start");
        return start_ == Start::Normal;
    }
    bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
        switch (message) {
        case kMsgThrow:
            throw std::runtime_error("boom");
        case kMsgThrowBadAlloc:
            throw std::bad_alloc();
        case kMsgThrowInteger:
            throw 42;
        case kMsgAsk:
            result = 7;
            return true;
        case WM_NCDESTROY:
            Events().push_back("ncdestroy");
            return false;
        default:
            return false;
        }
    }
    bool OnCommand(WORD id, WORD, HWND) override {
        if (id != kCmdDestroySelf)
            return false;
        Destroy();
        // Still a live object: the base frees it only after this handler has returned.
        Events().push_back(hwnd() ? "handler end, window kept" : "handler end");
        return true;
    }

private:
    Start start_;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(RegisterWindowClass({GetModuleHandleW(nullptr), kClass}));
        Events().clear();
    }
    static WindowParams Params() {
        WindowParams params;
        params.instance = GetModuleHandleW(nullptr);
        params.className = kClass;
        params.style = WS_POPUP;
        params.x = params.y = 0;
        params.width = params.height = 50;
        return params;
    }
    FailureRecorder recorder_;
};

TEST_F(WindowTest, EscapingExceptionsReachTheHookAndTheWindowGoesOn) {
    TestWindow window;
    HWND handle = window.Create(Params());
    ASSERT_NE(nullptr, handle);
    const struct {
        UINT message;
        FailureKind kind;
        const char* what;
    } cases[] = {
        {kMsgThrow, FailureKind::Exception, "boom"},
        {kMsgThrowBadAlloc, FailureKind::OutOfMemory, ""},
        {kMsgThrowInteger, FailureKind::Unknown, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        RecordedFailures().clear();
        // The message then gets the default processing: DefWindowProc answers 0.
        EXPECT_EQ(0, SendMessageW(handle, c.message, 0, 0));
        ASSERT_EQ(1u, RecordedFailures().size());
        EXPECT_EQ(c.kind, RecordedFailures()[0].kind);
        EXPECT_EQ(c.what, RecordedFailures()[0].what);
        EXPECT_EQ(handle, RecordedFailures()[0].window);
        EXPECT_EQ(c.message, RecordedFailures()[0].message);
        EXPECT_EQ(7, SendMessageW(handle, kMsgAsk, 0, 0));
    }
    EXPECT_EQ(&window, Window::FromHandle(handle));
}

TEST_F(WindowTest, AWindowThatOwnsItsObjectFreesItAfterItsLastMessage) {
    HWND handle = Window::Open(std::make_unique<TestWindow>(), Params());
    ASSERT_NE(nullptr, handle);
    SendMessageW(handle, WM_COMMAND, kCmdDestroySelf, 0);
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ((std::vector<std::string>{"ncdestroy", "handler end", "deleted"}), Events());
}

LRESULT CALLBACK ExportedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Window::AdoptingProcedure(window, message, wParam, lParam,
                                     [] { return std::unique_ptr<Window>(new TestWindow); });
}

TEST_F(WindowTest, AClassWithAProcedureOfItsOwnGivesPlainWindowsAnObject) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ExportedProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"KestrixUiTestExported";
    ASSERT_NE(0, RegisterClassW(&windowClass));
    HWND handle = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, handle);
    EXPECT_EQ(7, SendMessageW(handle, kMsgAsk, 0, 0));
    DestroyWindow(handle);
    EXPECT_EQ((std::vector<std::string>{"ncdestroy", "deleted"}), Events());
}

TEST_F(WindowTest, FailedCreationFreesAWindowOwnedObjectOnce) {
    const struct {
        const char* name;
        TestWindow::Start start;
        const wchar_t* className;
        std::size_t failures;
    } cases[] = {
        {"no such class", TestWindow::Start::Normal, L"KestrixUiNoSuchClass", 0},
        {"OnCreate refuses", TestWindow::Start::Refuse, kClass, 0},
        {"OnCreate throws", TestWindow::Start::Throw, kClass, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Events().clear();
        RecordedFailures().clear();
        WindowParams params = Params();
        params.className = c.className;
        EXPECT_EQ(nullptr, Window::Open(std::make_unique<TestWindow>(c.start), params));
        EXPECT_EQ(1, std::count(Events().begin(), Events().end(), "deleted"));
        EXPECT_EQ(c.failures, RecordedFailures().size());
    }
}

TEST_F(WindowTest, AnOwnerHeldObjectOutlivesItsWindowOrClosesIt) {
    HWND handle = nullptr;
    {
        TestWindow window;
        handle = window.Create(Params());
        ASSERT_NE(nullptr, handle);
        DestroyWindow(handle);
        EXPECT_EQ(nullptr, window.hwnd());
        handle = window.Create(Params()); // the object can open a window again
        ASSERT_NE(nullptr, handle);
    }
    EXPECT_FALSE(IsWindow(handle));
    // The window let go of the object before closing, so its handlers saw nothing.
    EXPECT_EQ((std::vector<std::string>{"ncdestroy", "deleted"}), Events());
    EXPECT_EQ(nullptr, Window::FromHandle(GetDesktopWindow()));
}

} // namespace
} // namespace kestrix::ui
