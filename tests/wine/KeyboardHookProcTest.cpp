// The real hook procedure under Wine, called directly with KBDLLHOOKSTRUCTs: what it swallows and
// what it writes into the real controls.
#include "input/KeyboardHook_win.h"
#include "tests/wine/WineTestSupport.h"

namespace {

LRESULT SendKey(WPARAM message, uint32_t vk, int code = HC_ACTION) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    key.flags = LLKHF_INJECTED; // must not matter
    return KeyboardHookProc(code, message, reinterpret_cast<LPARAM>(&key));
}
LRESULT Press(uint32_t vk) {
    return SendKey(WM_KEYDOWN, vk);
}
LRESULT Release(uint32_t vk) {
    return SendKey(WM_KEYUP, vk);
}

using KeyboardHookProcTest = InputHandlerTest;

} // namespace

TEST_F(KeyboardHookProcTest, CaptureTakesAKeyButNeverF4OrF8AndF4WritesBothLabels) {
    SetFocus(app.recordHotkeyEdit);
    PumpMessages();
    ASSERT_TRUE(app.recordHotkeyCapture);

    EXPECT_EQ(Press(VK_F4_KEY), 1);
    EXPECT_FALSE(app.masterEnabled);
    EXPECT_EQ(WindowText(app.masterLabel), L"OFF");
    EXPECT_EQ(WindowText(overlayMaster), L"OFF");
    EXPECT_EQ(Release(VK_F4_KEY), 0);
    EXPECT_EQ(SendKey(WM_SYSKEYDOWN, VK_F4_KEY), 1); // Alt held down
    EXPECT_TRUE(app.masterEnabled);
    EXPECT_EQ(WindowText(app.masterLabel), L"ON");
    EXPECT_EQ(WindowText(overlayMaster), L"ON");

    EXPECT_EQ(Press(VK_F8_KEY), 1); // F8 disarms the capture instead of being captured
    EXPECT_FALSE(app.recordHotkeyCapture);
    EXPECT_EQ(WindowText(app.recordHotkeyEdit), L"None");
    EXPECT_EQ(Press(VK_F6), 0); // nothing armed, nothing bound: passed on

    app.playHotkeyCapture = true;
    EXPECT_EQ(Press(VK_F7), 1);
    EXPECT_EQ(app.playHotkey, (HotkeyBinding{HotkeyKeyboard, VK_F7}));
    EXPECT_FALSE(app.playHotkeyCapture);
    EXPECT_EQ(WindowText(app.playHotkeyEdit), L"F7");

    // Other hook codes and messages are passed on untouched.
    EXPECT_EQ(SendKey(WM_KEYDOWN, VK_F4_KEY, 3), 0);
    EXPECT_EQ(SendKey(WM_CHAR, VK_F4_KEY), 0);
    EXPECT_TRUE(app.masterEnabled);
}

TEST_F(KeyboardHookProcTest, HoldOffKeyStopsEverythingUntilReleasedWhileF4KeepsItsOwnLabel) {
    app.holdOffHotkey = {HotkeyKeyboard, VK_SPACE};
    app.recordHotkey = {HotkeyKeyboard, VK_F6};
    Press(VK_F6);
    ASSERT_TRUE(app.recording);
    app.playing = true;

    EXPECT_EQ(Press(VK_SPACE), 1);
    EXPECT_FALSE(app.holdStateOn);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"OFF");
    EXPECT_EQ(WindowText(overlayMaster), L"OFF");
    EXPECT_EQ(WindowText(app.recordButton), L"Record");
    EXPECT_TRUE(app.stopRequested);

    app.stopRequested = false;
    SetWindowTextW(app.holdStateLabel, L"held");
    EXPECT_EQ(Press(VK_SPACE), 1); // auto-repeat
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"held");
    EXPECT_EQ(Press(VK_F6), 1); // swallowed, refused
    EXPECT_FALSE(app.recording);

    // F4 off and on again while held: switch, label and overlay agree; the hold state stays off.
    Press(VK_F4_KEY);
    Release(VK_F4_KEY);
    EXPECT_EQ(WindowText(app.masterLabel), L"OFF");
    EXPECT_EQ(Press(VK_F4_KEY), 1);
    EXPECT_TRUE(app.masterEnabled);
    EXPECT_EQ(WindowText(app.masterLabel), L"ON");
    EXPECT_EQ(WindowText(overlayMaster), L"OFF"); // still held
    EXPECT_EQ(WindowText(app.holdStateLabel), L"held");

    EXPECT_EQ(Release(VK_SPACE), 1);
    EXPECT_TRUE(app.holdStateOn);
    EXPECT_FALSE(app.holdOffKeyDown);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"ON");
    EXPECT_EQ(WindowText(overlayMaster), L"ON");
    EXPECT_FALSE(app.recording); // nothing restarts
}
