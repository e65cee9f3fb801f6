// The modeless window list: it keeps at most 100 windows and closes gaps on removal.
#include "host/win32/AddinContext.h"

#include <gtest/gtest.h>

namespace keywright {
namespace {

HWND Fake(int n) {
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(n));
}

class ModelessWindowListTest : public ::testing::Test {
protected:
    void SetUp() override { Clear(); }
    void TearDown() override { Clear(); }
    static void Clear() {
        while (Addin().modelessCount > 0)
            RemoveModelessWindow(Addin().modeless[0]);
    }
};

TEST_F(ModelessWindowListTest, A101stWindowIsNotRegistered) {
    for (int i = 1; i <= kMaxModelessWindows + 1; ++i)
        AddModelessWindow(Fake(i));
    EXPECT_EQ(kMaxModelessWindows, Addin().modelessCount);
    EXPECT_EQ(Fake(kMaxModelessWindows), Addin().modeless[kMaxModelessWindows - 1]);
}

TEST_F(ModelessWindowListTest, RemovingShiftsTheLaterWindowsDown) {
    AddModelessWindow(Fake(1));
    AddModelessWindow(Fake(2));
    AddModelessWindow(Fake(3));
    RemoveModelessWindow(Fake(2));
    ASSERT_EQ(2, Addin().modelessCount);
    EXPECT_EQ(Fake(1), Addin().modeless[0]);
    EXPECT_EQ(Fake(3), Addin().modeless[1]);
    RemoveModelessWindow(Fake(7));
    EXPECT_EQ(2, Addin().modelessCount);
}

} // namespace
} // namespace keywright
