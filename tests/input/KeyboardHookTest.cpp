// The keyboard hook's rule order: which rule a key press falls under in each state, and which
// presses count as auto-repeat.
#include "app/AppState.h"
#include "input/KeyboardHook.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t KEY_A = 0x41, KEY_SPACE = 0x20, KEY_F6 = 0x75, KEY_F7 = 0x76, KEY_1 = 0x31;
constexpr uint32_t KEY_PAGE_UP = 0x21, KEY_PAGE_DOWN = 0x22;

class KeyboardHookTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAppState();
        app.recordHotkey = {HotkeyKeyboard, KEY_F6};
        app.playHotkey = {HotkeyKeyboard, KEY_F7};
        app.holdOffHotkey = {HotkeyKeyboard, KEY_SPACE};
        app.scrollPrevHotkey = {HotkeyKeyboard, KEY_PAGE_UP};
        app.scrollNextHotkey = {HotkeyKeyboard, KEY_PAGE_DOWN};
        app.profileSlots[2] = {false, {HotkeyKeyboard, KEY_1}, L"off"};
        app.profileSlots[5] = {true, {HotkeyKeyboard, KEY_1}, L"farm"};
    }
    static KeyPressDecision Rule(KeyPressRule r, int slot = -1, bool rec = false) { return {r, slot, rec}; }
};

using enum KeyPressRule;

} // namespace

TEST_F(KeyboardHookTest, FixedKeysActBeforeCapturesButAfterProfileTriggerCapture) {
    app.recordHotkeyCapture = app.playHotkeyCapture = app.holdOffHotkeyCapture = true;
    app.scrollPrevCapture = true;
    EXPECT_EQ(DecideKeyPress(app, VK_F4_KEY), Rule(ToggleMaster));
    EXPECT_EQ(DecideKeyPress(app, VK_F8_KEY), Rule(ClearRecordPlayHotkeys));
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CaptureRecordHotkey));
    // Captures take the first armed flag in their order, also for the hold-off key itself.
    app.recordHotkeyCapture = false;
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(CapturePlayHotkey));
    app.playHotkeyCapture = false;
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CaptureHoldOffHotkey));
    app.holdOffHotkeyCapture = false;
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CaptureScrollPrev));
    app.scrollPrevCapture = false;
    app.scrollNextCapture = true;
    EXPECT_EQ(DecideKeyPress(app, KEY_F6), Rule(CaptureScrollNext));

    // A trigger capture comes before F4 and F8; only the free hold-off key comes before it.
    app.profileHotkeyCaptureSlot = 9;
    EXPECT_EQ(DecideKeyPress(app, VK_F4_KEY), Rule(CaptureProfileTrigger, 9));
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(HoldOffPress));
    app.recordHotkeyCapture = true; // the hold-off key is no longer free
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(CaptureProfileTrigger, 9));
}

TEST_F(KeyboardHookTest, HotkeysAreNeverRecordedWhileScrollAndProfileKeysAreRecordedWithoutSwitching) {
    EXPECT_EQ(DecideKeyPress(app, KEY_PAGE_UP), Rule(SelectPreviousProfile));
    EXPECT_EQ(DecideKeyPress(app, KEY_1), Rule(SwitchToProfile, 5)); // slot 2 is disabled
    app.recording = true;
    EXPECT_EQ(DecideKeyPress(app, KEY_F6), Rule(RecordHotkeyPress));
    EXPECT_EQ(DecideKeyPress(app, KEY_F7), Rule(PlayHotkeyPress));
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(HoldOffPress));
    for (uint32_t vk : {KEY_PAGE_UP, KEY_PAGE_DOWN, KEY_1, KEY_A})
        EXPECT_EQ(DecideKeyPress(app, vk), Rule(PassOn, -1, true)) << vk;
    app.playHotkeyCapture = true; // a capture takes the key before the recorder sees it
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CapturePlayHotkey));

    // Switched off, profile keys still act but are not recorded.
    app.playHotkeyCapture = false;
    app.masterEnabled = false;
    EXPECT_EQ(DecideKeyPress(app, KEY_1), Rule(SwitchToProfile, 5));

    // Held off, the hold-off key still reaches its rule when a capture is armed.
    app.masterEnabled = true;
    app.holdStateOn = false;
    app.holdOffHotkeyCapture = true;
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(HoldOffPress));
    EXPECT_EQ(DecideKeyPress(app, KEY_PAGE_DOWN), Rule(SelectNextProfile));
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CaptureHoldOffHotkey));
}

TEST_F(KeyboardHookTest, AutoRepeatIsAKeyPressedAgainBeforeItsRelease) {
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 1000));
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 1500));
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 1500 + AUTO_REPEAT_GAP_MS)); // the gap counts from the last repeat
    NoteKeyUp(app, KEY_F7);                                           // another key's release changes nothing
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 3100));
    NoteKeyUp(app, KEY_F6);
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 3110));
    // Other keys pressed and released (typed or replayed) while it is held change nothing.
    EXPECT_FALSE(NoteKeyDown(app, KEY_A, 3120));
    NoteKeyUp(app, KEY_A);
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 3130));
    // A release the hook missed costs no more than the gap.
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 3131 + AUTO_REPEAT_GAP_MS));

    // The hold-off key has its own repeat guard; scroll keys step on while held; recorded keys repeat.
    for (KeyPressRule rule : {ToggleMaster, RecordHotkeyPress, PlayHotkeyPress})
        EXPECT_TRUE(IgnoresAutoRepeat(rule));
    for (KeyPressRule rule : {HoldOffPress, SelectNextProfile, PassOn})
        EXPECT_FALSE(IgnoresAutoRepeat(rule));
}
