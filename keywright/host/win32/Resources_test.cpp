// keywright.dll's resources: every text of the string table with the same text as the
// code's table, the menu and accelerators with the add-in's commands, the dialogs,
// the toolbar bitmap and the icon, and the resources another folder links in.
#include "resources/KeywrightResources.h"
#include "strings/KeywrightStrings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace keywright {
namespace {

class DllResources : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryA("keywright.dll");
        ASSERT_NE(nullptr, module_);
    }
    HMODULE module_ = nullptr;
};

TEST_F(DllResources, StringTableMatchesTheCodesTable) {
    struct Entry {
        unsigned id;
        const char* text;
    };
    const Entry entries[] = {
#define KW_STRING(id, text) {id, text},
#include "strings/KeywrightStringTable.inc"
#undef KW_STRING
    };
    for (const Entry& entry : entries) {
        SCOPED_TRACE(entry.id);
        char loaded[1024] = {};
        ASSERT_GT(LoadStringA(module_, entry.id, loaded, sizeof loaded), 0);
        EXPECT_STREQ(entry.text, loaded);
        EXPECT_STREQ(KeywrightString(entry.id), loaded);
    }
}

TEST_F(DllResources, MenuAndAcceleratorsCarryTheAddinsCommands) {
    HMENU menu = LoadMenuA(module_, MAKEINTRESOURCEA(KW_IDM_MENU));
    ASSERT_NE(nullptr, menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, popup);
    std::vector<UINT> ids;
    for (int i = 0; i < GetMenuItemCount(popup); ++i)
        ids.push_back(GetMenuItemID(popup, i));
    const UINT separator = 0;
    EXPECT_EQ((std::vector<UINT>{3016, 3017, separator, 3018, 3019, separator, 3020, 3021,
                                 separator, 40032, 40035, 3023, 3024}),
              ids);
    char text[64] = {};
    GetMenuStringA(popup, 3020, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ("&Preview File...\tCtrl+V", text);
    DestroyMenu(menu);

    HACCEL table = LoadAcceleratorsA(module_, MAKEINTRESOURCEA(KW_IDA_ACCELERATORS));
    ASSERT_NE(nullptr, table);
    ACCEL keys[16] = {};
    int count = CopyAcceleratorTableA(table, keys, 16);
    ASSERT_EQ(7, count);
    const char letters[] = "BDMORSV";
    const WORD commands[] = {3016, 3017, 3021, 40032, 3019, 3018, 3020};
    for (int i = 0; i < count; ++i) {
        SCOPED_TRACE(letters[i]);
        EXPECT_EQ(letters[i], keys[i].key);
        EXPECT_EQ(commands[i], keys[i].cmd);
        EXPECT_EQ(FVIRTKEY | FCONTROL, keys[i].fVirt & ~0x80);
    }
}

TEST_F(DllResources, DialogsBitmapAndIconArePresent) {
    // 211 comes from the search window's own script: both scripts link into the DLL.
    for (int dialog : {KW_IDD_HIDDEN, KW_IDD_ABOUT, 211, KW_IDD_DEBUG, KW_IDD_OPTIONS}) {
        SCOPED_TRACE(dialog);
        EXPECT_NE(nullptr, FindResourceA(module_, MAKEINTRESOURCEA(dialog),
                                         reinterpret_cast<LPCSTR>(RT_DIALOG)));
    }
    HBITMAP bitmap = LoadBitmapA(module_, MAKEINTRESOURCEA(KW_IDB_TOOLBAR));
    ASSERT_NE(nullptr, bitmap);
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    EXPECT_EQ(16 * KW_TOOLBAR_IMAGES, info.bmWidth);
    EXPECT_EQ(16, info.bmHeight);
    DeleteObject(bitmap);
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(
            LoadImageA(module_, MAKEINTRESOURCEA(KW_IDI_ADDIN), IMAGE_ICON, size, size, 0));
        EXPECT_NE(nullptr, icon);
        if (icon)
            DestroyIcon(icon);
    }
}

} // namespace
} // namespace keywright
