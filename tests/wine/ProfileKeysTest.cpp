// Profile keys through the real keyboard hook procedure: capturing a trigger, a trigger key that
// switches and loads the slot's macro, and the scroll keys.
#include "app/ControlTable.h"
#include "input/KeyboardHook_win.h"
#include "tests/wine/ProfileTestSupport.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/windows/ProfileWindow_win.h"

#include <gtest/gtest.h>

namespace {

LRESULT PressKey(DWORD vk) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    LRESULT down = KeyboardHookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&key));
    key.flags = LLKHF_UP;
    KeyboardHookProc(HC_ACTION, WM_KEYUP, reinterpret_cast<LPARAM>(&key));
    return down;
}

class ProfileKeysTest : public ::testing::Test {
  protected:
    void SetUp() override { window = OpenTestProfileWindow(); }
    void TearDown() override { CloseTestWindows(); }
    HWND window = nullptr;
};

} // namespace

TEST_F(ProfileKeysTest, CapturedTriggerKeySwitchesAndLoadsTheSlotsMacro) {
    std::wstring two = WriteTestMacro(L"keys_two.kmc", 2);
    std::wstring five = WriteTestMacro(L"keys_five.kmc", 5);
    app.profileSlots[2] = {true, {}, L"keys_two"};
    app.profileSlots[6] = {true, {}, L"keys_five"};
    app.profileMacroPaths[6] = five;
    RefreshProfileWindow();

    SetFocus(app.profileHotkeyEdits[2]);
    PumpMessages();
    EXPECT_EQ(PressKey(VK_F6), 1) << "a captured key is swallowed";
    EXPECT_EQ(app.profileSlots[2].trigger, (HotkeyBinding{HotkeyKeyboard, VK_F6}));
    EXPECT_EQ(app.profileHotkeyCaptureSlot, -1);
    EXPECT_NE(WindowText(app.profileHotkeyEdits[2]), L"None");
    SetFocus(app.profileHotkeyEdits[6]);
    PumpMessages();
    PressKey(VK_F7);
    SetFocus(window);
    PumpMessages();

    EXPECT_EQ(PressKey(VK_F6), 1);
    EXPECT_EQ(app.activeProfile, 2);
    EXPECT_EQ(WindowText(app.profileLabel), L"P3 - keys_two");
    EXPECT_EQ(app.events.size(), 2u) << "the unmapped slot loads the macro named like it";
    PumpMessages();
    auto listed = [] { return SendMessageW(app.eventList, LB_GETCOUNT, 0, 0); };
    EXPECT_EQ(listed(), 2);
    EXPECT_EQ(PressKey(VK_F7), 1);
    EXPECT_EQ(app.activeProfile, 6);
    EXPECT_EQ(app.events.size(), 5u);
    // The rows are made and the box filled on the next turn of the message loop; until then there
    // are no rows to tick or delete.
    EXPECT_TRUE(app.eventListRows.empty());
    EXPECT_EQ(listed(), 2);
    SendMessageW(app.allCheckbox, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(ID_ALL, BN_CLICKED), 0);
    SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(ID_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(app.events.size(), 5u) << "ticks of the old list reach nothing";
    PumpMessages();
    EXPECT_EQ(app.eventListRows.size(), 5u);
    EXPECT_EQ(listed(), 5);
    EXPECT_FALSE(app.eventListFillPending);

    app.profileSlots[2].enabled = false;
    EXPECT_NE(PressKey(VK_F6), 1) << "a slot that is not enabled never switches";
    EXPECT_EQ(app.activeProfile, 6);
    DeleteFileW(two.c_str());
    DeleteFileW(five.c_str());
}

TEST_F(ProfileKeysTest, ScrollKeysStepThroughEnabledSlots) {
    for (size_t slot : {1u, 4u, 7u})
        app.profileSlots[slot].enabled = true;
    RefreshProfileWindow();
    SetFocus(app.scrollPrevEdit);
    PumpMessages();
    PressKey(VK_PRIOR);
    SetFocus(app.scrollNextEdit);
    PumpMessages();
    PressKey(VK_NEXT);
    SetFocus(window);
    PumpMessages();
    EXPECT_EQ(app.scrollPrevHotkey, (HotkeyBinding{HotkeyKeyboard, VK_PRIOR}));
    EXPECT_EQ(app.scrollNextHotkey, (HotkeyBinding{HotkeyKeyboard, VK_NEXT}));

    SwitchToProfile(4);
    EXPECT_EQ(PressKey(VK_NEXT), 1);
    EXPECT_EQ(app.activeProfile, 7);
    PressKey(VK_NEXT);
    EXPECT_EQ(app.activeProfile, 1);
    PressKey(VK_PRIOR);
    EXPECT_EQ(app.activeProfile, 7);
}
