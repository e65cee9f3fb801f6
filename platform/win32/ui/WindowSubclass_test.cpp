// The subclass guard: messages pass through to the old procedure, and the guard puts
// it back and removes its property when it goes.
#include "platform/win32/ui/WindowSubclass.h"

#include <gtest/gtest.h>

namespace kestrix::ui {
namespace {

constexpr UINT kAskOriginal = WM_USER + 1;
constexpr UINT kAskReplacement = WM_USER + 2;

LRESULT CALLBACK OriginalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAskOriginal)
        return 11;
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK ReplacementProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kAskReplacement)
        return 22;
    return CallPrevious(window, message, wParam, lParam);
}

class WindowSubclassTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = OriginalProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"WindowSubclassTest";
        RegisterClassW(&windowClass);
        window_ = CreateWindowExW(0, L"WindowSubclassTest", L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        ASSERT_NE(nullptr, window_);
    }
    void TearDown() override { DestroyWindow(window_); }

    LRESULT Ask(UINT message) { return SendMessageW(window_, message, 0, 0); }
    WNDPROC Procedure() {
        return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window_, GWLP_WNDPROC));
    }

    HWND window_ = nullptr;
};

TEST_F(WindowSubclassTest, ReplacementSeesItsMessagesAndPassesTheRestOn) {
    WindowSubclass guard(window_, ReplacementProc);
    ASSERT_TRUE(guard.active());
    EXPECT_EQ(22, Ask(kAskReplacement));
    EXPECT_EQ(11, Ask(kAskOriginal));
    EXPECT_NE(nullptr, GetPropW(window_, L"X-WndProc"));
}

TEST_F(WindowSubclassTest, GuardRestoresTheProcedureAndRemovesTheProperty) {
    WNDPROC original = Procedure();
    {
        WindowSubclass guard(window_, ReplacementProc);
        EXPECT_NE(original, Procedure());
    }
    EXPECT_EQ(original, Procedure());
    EXPECT_EQ(nullptr, GetPropW(window_, L"X-WndProc"));
    EXPECT_EQ(0, Ask(kAskReplacement));
}

TEST_F(WindowSubclassTest, RestoreTwiceAndMovedGuardsRestoreOnce) {
    WNDPROC original = Procedure();
    WindowSubclass first(window_, ReplacementProc);
    WindowSubclass second(std::move(first));
    EXPECT_FALSE(first.active());
    second.Restore();
    second.Restore();
    EXPECT_EQ(original, Procedure());
}

} // namespace
} // namespace kestrix::ui
