// The OLE guard balances only its own initialisation, on threads in each state.
#include "platform/win32/OleScope.h"

#include <gtest/gtest.h>

#include <thread>

namespace kestrix {
namespace {

// Runs `body` on a thread of its own, whose apartment state no other test shares.
template <typename Body> void OnFreshThread(Body body) {
    std::thread thread(body);
    thread.join();
}

// The thread is still in the single-threaded apartment that OLE set up.
void ExpectOleHeld() {
    EXPECT_EQ(S_FALSE, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CoUninitialize();
}

// Nothing is left: the thread can enter the other kind of apartment.
void ExpectNothingLeft() {
    const HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_EQ(S_OK, after);
    if (SUCCEEDED(after))
        CoUninitialize();
}

TEST(OleScope, UndoesItsInitialisationWhenItEnds) {
    OnFreshThread([] {
        {
            OleScope ole;
            EXPECT_TRUE(ole.initialised());
            ExpectOleHeld();
        }
        ExpectNothingLeft();
    });
}

TEST(OleScope, NestedGuardsEachBalanceTheirOwn) {
    OnFreshThread([] {
        {
            OleScope outer;
            {
                OleScope inner;
                EXPECT_TRUE(inner.initialised());
            }
            // The outer guard's initialisation still holds.
            ExpectOleHeld();
        }
        ExpectNothingLeft();
    });
}

TEST(OleScope, LeavesAnotherApartmentsOwnerItsReference) {
    OnFreshThread([] {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        {
            OleScope ole;
            EXPECT_FALSE(ole.initialised());
        }
        // Had the guard uninitialised anyway, the owner's count would be gone and
        // this would start afresh with S_OK.
        const HRESULT again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(S_FALSE, again);
        if (SUCCEEDED(again))
            CoUninitialize();
        CoUninitialize();
    });
}

} // namespace
} // namespace kestrix
