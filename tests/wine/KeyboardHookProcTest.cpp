// The real hook procedure under Wine, called directly with KBDLLHOOKSTRUCTs: what it swallows and
// what it writes into the real controls.
#include "app/ControlTable.h"
#include "input/KeyboardHook.h"
#include "input/KeyboardHook_win.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t KEY_A = 0x41;
constexpr uint32_t KEY_B = 0x42;
constexpr uint32_t KEY_SPACE = 0x20;
constexpr uint32_t KEY_F6 = 0x75;
constexpr uint32_t KEY_F7 = 0x76;

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

class KeyboardHookProcTest : public InputHandlerTest {
  protected:
    void TearDown() override {
        // Some tests lend the hook stand-ins for the profile window's edits.
        app.profileHotkeyEdits = {};
        app.scrollPrevEdit = nullptr;
        InputHandlerTest::TearDown();
    }
};

} // namespace

TEST_F(KeyboardHookProcTest, CaptureTakesAKeyButNeverF4OrF8) {
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
    EXPECT_EQ(Press(KEY_F6), 0); // nothing armed, nothing bound: passed on

    SetFocus(app.playHotkeyEdit);
    PumpMessages();
    EXPECT_EQ(Press(KEY_F7), 1);
    EXPECT_EQ(app.playHotkey, (HotkeyBinding{HotkeyKeyboard, KEY_F7}));
    EXPECT_FALSE(app.playHotkeyCapture);
    EXPECT_EQ(WindowText(app.playHotkeyEdit), L"F7");

    // Other hook codes and messages are passed on untouched.
    EXPECT_EQ(SendKey(WM_KEYDOWN, VK_F4_KEY, 3), 0);
    EXPECT_TRUE(app.masterEnabled);
    EXPECT_EQ(SendKey(WM_CHAR, VK_F4_KEY), 0);
    EXPECT_TRUE(app.masterEnabled);
}

TEST_F(KeyboardHookProcTest, RecordHotkeyRecordsOtherKeysButNotItself) {
    app.recordHotkey = {HotkeyKeyboard, KEY_F6};
    EXPECT_EQ(Press(KEY_F6), 1);
    EXPECT_TRUE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Stop");
    EXPECT_EQ(Release(KEY_F6), 0);
    fakeNowMs += 700;
    EXPECT_EQ(Press(KEY_A), 0);
    fakeNowMs += 3;
    EXPECT_EQ(SendKey(WM_SYSKEYDOWN, KEY_B), 0);
    EXPECT_EQ(Release(KEY_B), 0); // releases are not recorded
    fakeNowMs += 50;
    EXPECT_EQ(Press(KEY_F6), 1);
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Record");
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{{Key, 0, 0, 0, KEY_A, 0}, {Key, 0, 0, 0, KEY_B, 3}}));

    // With the master switch off the hotkey is swallowed and does nothing.
    Press(VK_F4_KEY);
    EXPECT_EQ(Press(KEY_F6), 1);
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Record");
}

TEST_F(KeyboardHookProcTest, HoldOffKeyStopsEverythingUntilReleasedAndIgnoresAutoRepeat) {
    app.holdOffHotkey = {HotkeyKeyboard, KEY_SPACE};
    app.recordHotkey = {HotkeyKeyboard, KEY_F6};
    Press(KEY_F6);
    ASSERT_TRUE(app.recording);
    app.playing = true;

    EXPECT_EQ(Press(KEY_SPACE), 1);
    EXPECT_FALSE(app.holdStateOn);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"OFF");
    EXPECT_EQ(WindowText(overlayMaster), L"OFF");
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Record");
    EXPECT_TRUE(app.stopRequested);

    app.stopRequested = false;
    SetWindowTextW(app.holdStateLabel, L"held");
    EXPECT_EQ(Press(KEY_SPACE), 1); // auto-repeat
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"held");
    EXPECT_EQ(Press(KEY_F6), 1); // swallowed, refused
    EXPECT_FALSE(app.recording);

    EXPECT_EQ(Release(KEY_SPACE), 1);
    EXPECT_TRUE(app.holdStateOn);
    EXPECT_FALSE(app.holdOffKeyDown);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"ON");
    EXPECT_EQ(WindowText(overlayMaster), L"ON");
    EXPECT_FALSE(app.recording); // nothing restarts
}

TEST_F(KeyboardHookProcTest, F4WhileHeldOffFollowsTheSwitchsNewValue) {
    app.holdOffHotkey = {HotkeyKeyboard, KEY_SPACE};
    Press(KEY_SPACE);
    Press(VK_F4_KEY);
    EXPECT_FALSE(app.masterEnabled);
    EXPECT_EQ(WindowText(app.masterLabel), L"OFF");
    EXPECT_EQ(WindowText(overlayMaster), L"OFF");

    // Switched back on while the hold-off key is still down: flag and labels agree on ON.
    app.playing = true;
    Release(VK_F4_KEY);
    EXPECT_EQ(Press(VK_F4_KEY), 1);
    EXPECT_TRUE(app.masterEnabled);
    EXPECT_EQ(WindowText(app.masterLabel), L"ON");
    EXPECT_EQ(WindowText(overlayMaster), L"ON");
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"OFF"); // still held

    // Turning off requests the stop of a running playback.
    Release(VK_F4_KEY);
    Press(VK_F4_KEY);
    EXPECT_TRUE(app.stopRequested);
}

TEST_F(KeyboardHookProcTest, PlayHotkeyStopsInOnceAndLoopAndFollowsTheKeyInHoldMode) {
    app.playHotkey = {HotkeyKeyboard, KEY_F7};
    app.playing = true;
    EXPECT_EQ(Press(KEY_F7), 1);
    EXPECT_TRUE(app.stopRequested);
    EXPECT_EQ(Release(KEY_F7), 0); // passed on outside Hold mode

    app.stopRequested = false;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_HOLD, BN_CLICKED), 0);
    EXPECT_EQ(Press(KEY_F7), 1); // a press while playing does nothing in Hold mode
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(Release(KEY_F7), 1);
    EXPECT_TRUE(app.stopRequested);
}

TEST_F(KeyboardHookProcTest, HeldSwitchKeysActOncePerPressButAreSwallowedWhileHeld) {
    app.recordHotkey = {HotkeyKeyboard, KEY_F6};
    app.playHotkey = {HotkeyKeyboard, KEY_F7};

    // A record hotkey held while stopping keeps the recording just made.
    Press(KEY_F6);
    Release(KEY_F6);
    Press(KEY_A);
    Release(KEY_A);
    EXPECT_EQ(Press(KEY_F6), 1);
    ASSERT_FALSE(app.recording);
    for (int repeat = 0; repeat < 3; ++repeat) {
        fakeNowMs += 500;
        EXPECT_EQ(Press(KEY_F6), 1);
    }
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Record");
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{{Key, 0, 0, 0, KEY_A, 0}}));
    Release(KEY_F6);
    EXPECT_EQ(Press(KEY_F6), 1); // a new press acts again
    EXPECT_TRUE(app.recording);
    Release(KEY_F6);
    Press(KEY_F6);

    // F4 held switches once.
    Press(VK_F4_KEY);
    fakeNowMs += 500;
    EXPECT_EQ(Press(VK_F4_KEY), 1);
    EXPECT_FALSE(app.masterEnabled);
    EXPECT_EQ(WindowText(app.masterLabel), L"OFF");
    // Another key pressed in between makes the next F4 a new press, as does a long gap after a
    // release the hook never saw.
    Press(KEY_B);
    Press(VK_F4_KEY);
    EXPECT_TRUE(app.masterEnabled);
    fakeNowMs += AUTO_REPEAT_GAP_MS + 1;
    Press(VK_F4_KEY);
    EXPECT_FALSE(app.masterEnabled);
    Release(VK_F4_KEY);
    Press(VK_F4_KEY);
    Release(VK_F4_KEY);
    ASSERT_TRUE(app.masterEnabled);

    // The play hotkey held in Loop mode does not stop the playback it started.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOOP, BN_CLICKED), 0);
    app.playing = true;
    app.stopRequested = false;
    Press(KEY_F7);
    EXPECT_TRUE(app.stopRequested);
    app.stopRequested = false;
    Press(KEY_F7);
    EXPECT_FALSE(app.stopRequested);
    Release(KEY_F7);
    Press(KEY_F7);
    EXPECT_TRUE(app.stopRequested);
}

TEST_F(KeyboardHookProcTest, F8UnbindsRecordAndPlayButKeepsHoldOffAndProfileKeys) {
    app.recordHotkey = {HotkeyKeyboard, KEY_F6};
    app.playHotkey = {HotkeyMouseButton, 0x0004};
    app.holdOffHotkey = {HotkeyKeyboard, KEY_SPACE};
    app.scrollNextHotkey = {HotkeyKeyboard, KEY_B};
    app.playHotkeyCapture = true;
    SetWindowTextW(app.recordHotkeyEdit, L"F6");
    SetWindowTextW(app.playHotkeyEdit, L"Mouse button");
    EXPECT_EQ(Press(VK_F8_KEY), 1);
    EXPECT_FALSE(IsBound(app.recordHotkey) || IsBound(app.playHotkey));
    EXPECT_FALSE(app.playHotkeyCapture);
    EXPECT_EQ(WindowText(app.recordHotkeyEdit), L"None");
    EXPECT_EQ(WindowText(app.playHotkeyEdit), L"None");
    EXPECT_EQ(app.holdOffHotkey, (HotkeyBinding{HotkeyKeyboard, KEY_SPACE}));
    EXPECT_EQ(app.scrollNextHotkey, (HotkeyBinding{HotkeyKeyboard, KEY_B}));
}

TEST_F(KeyboardHookProcTest, ProfileTriggerAndScrollCapturesWriteTheirEdits) {
    HWND triggerEdit =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 90, 20, window, nullptr, nullptr, nullptr);
    HWND scrollEdit =
        CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 24, 22, window, nullptr, nullptr, nullptr);
    app.profileHotkeyEdits[4] = triggerEdit;
    app.scrollPrevEdit = scrollEdit;

    app.profileHotkeyCaptureSlot = 4;
    EXPECT_EQ(Press(VK_F4_KEY), 1); // taken as the trigger, not as the master switch
    EXPECT_TRUE(app.masterEnabled);
    EXPECT_EQ(app.profileSlots[4].trigger, (HotkeyBinding{HotkeyKeyboard, VK_F4_KEY}));
    EXPECT_EQ(app.profileHotkeyCaptureSlot, -1);
    EXPECT_EQ(WindowText(triggerEdit), L"F4");

    app.scrollPrevCapture = true;
    EXPECT_EQ(Press(KEY_A), 1);
    EXPECT_EQ(app.scrollPrevHotkey, (HotkeyBinding{HotkeyKeyboard, KEY_A}));
    EXPECT_FALSE(app.scrollPrevCapture);
    EXPECT_EQ(WindowText(scrollEdit), L"A");

    // Scroll keys and triggers are swallowed, also while switched off.
    EXPECT_EQ(Press(KEY_A), 1);
    Press(VK_F4_KEY);
    EXPECT_EQ(Press(KEY_A), 1);
    app.profileSlots[4].enabled = true;
    EXPECT_EQ(Press(VK_F4_KEY), 1); // F4 still wins over its own trigger
    EXPECT_TRUE(app.masterEnabled);
}
