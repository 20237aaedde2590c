// The keyboard hook's rule order: which rule a key press or release falls under in each state.
#include "app/AppState.h"
#include "input/KeyboardHook.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t KEY_A = 0x41;
constexpr uint32_t KEY_SPACE = 0x20;
constexpr uint32_t KEY_F6 = 0x75;
constexpr uint32_t KEY_F7 = 0x76;
constexpr uint32_t KEY_PAGE_UP = 0x21;
constexpr uint32_t KEY_PAGE_DOWN = 0x22;
constexpr uint32_t KEY_1 = 0x31;

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
    void TearDown() override { ResetAppState(); }
};

using enum KeyPressRule;

KeyPressDecision Rule(KeyPressRule rule, int32_t slot = -1, bool recordKey = false) {
    return {rule, slot, recordKey};
}

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

TEST_F(KeyboardHookTest, HotkeysAreNeverRecordedWhileScrollAndProfileKeysAreRecordedAndAct) {
    app.recording = true;
    EXPECT_EQ(DecideKeyPress(app, KEY_F6), Rule(RecordHotkeyPress));
    EXPECT_EQ(DecideKeyPress(app, KEY_F7), Rule(PlayHotkeyPress));
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(HoldOffPress));
    EXPECT_EQ(DecideKeyPress(app, VK_F4_KEY), Rule(ToggleMaster));
    EXPECT_EQ(DecideKeyPress(app, KEY_PAGE_UP), Rule(SelectPreviousProfile, -1, true));
    EXPECT_EQ(DecideKeyPress(app, KEY_PAGE_DOWN), Rule(SelectNextProfile, -1, true));
    EXPECT_EQ(DecideKeyPress(app, KEY_1), Rule(SwitchToProfile, 5, true)); // slot 2 is disabled
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(PassOn, -1, true));
    // A capture takes the key before the recorder sees it.
    app.playHotkeyCapture = true;
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CapturePlayHotkey));

    app.playHotkeyCapture = false;
    app.recording = false;
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(PassOn));
    EXPECT_EQ(DecideKeyPress(app, KEY_1), Rule(SwitchToProfile, 5));
}

TEST_F(KeyboardHookTest, SwitchedOffOnlyProfileHoldOffAndScrollKeysActAndNothingIsRecorded) {
    app.recording = true;
    app.masterEnabled = false;
    EXPECT_EQ(DecideKeyPress(app, KEY_1), Rule(SwitchToProfile, 5));
    EXPECT_EQ(DecideKeyPress(app, KEY_PAGE_UP), Rule(SelectPreviousProfile));
    EXPECT_EQ(DecideKeyPress(app, KEY_PAGE_DOWN), Rule(SelectNextProfile));
    // Record and play hotkeys are still swallowed; the rule itself then refuses.
    EXPECT_EQ(DecideKeyPress(app, KEY_F6), Rule(RecordHotkeyPress));
    EXPECT_EQ(DecideKeyPress(app, KEY_F7), Rule(PlayHotkeyPress));

    // While held off, the hold-off key still reaches its rule when a capture is armed.
    app.masterEnabled = true;
    app.holdStateOn = false;
    app.holdOffHotkeyCapture = true;
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(HoldOffPress));
    EXPECT_EQ(DecideKeyPress(app, KEY_PAGE_DOWN), Rule(SelectNextProfile));
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CaptureHoldOffHotkey));
}

TEST_F(KeyboardHookTest, ReleasesOfTheHoldOffKeyAndTheHoldModePlayKeyAreSwallowed) {
    EXPECT_EQ(DecideKeyRelease(app, KEY_SPACE), KeyReleaseRule::HoldOffRelease);
    EXPECT_EQ(DecideKeyRelease(app, KEY_F7), KeyReleaseRule::PassOn);
    app.playMode = Hold;
    EXPECT_EQ(DecideKeyRelease(app, KEY_F7), KeyReleaseRule::PlayHotkeyRelease);
    EXPECT_EQ(DecideKeyRelease(app, KEY_F6), KeyReleaseRule::PassOn);
    app.playHotkey = {HotkeyMouseButton, KEY_F7};
    EXPECT_EQ(DecideKeyRelease(app, KEY_F7), KeyReleaseRule::PassOn);
}

TEST_F(KeyboardHookTest, PlayHotkeyStartsOrStopsByModeAndOnlyWhenSwitchedOn) {
    EXPECT_EQ(DecidePlayHotkeyPress(app), PlayPressAction::StartPlayback);
    app.playing = true;
    EXPECT_EQ(DecidePlayHotkeyPress(app), PlayPressAction::RequestStop);
    app.playMode = Loop;
    EXPECT_EQ(DecidePlayHotkeyPress(app), PlayPressAction::RequestStop);
    app.playMode = Hold;
    EXPECT_EQ(DecidePlayHotkeyPress(app), PlayPressAction::Nothing);
    app.playing = false;
    EXPECT_EQ(DecidePlayHotkeyPress(app), PlayPressAction::StartPlayback);
    app.holdStateOn = false;
    EXPECT_EQ(DecidePlayHotkeyPress(app), PlayPressAction::Nothing);
    app.holdStateOn = true;
    app.masterEnabled = false;
    EXPECT_EQ(DecidePlayHotkeyPress(app), PlayPressAction::Nothing);
}

TEST_F(KeyboardHookTest, AutoRepeatIsTheLastKeyPressedAgainBeforeItsRelease) {
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 1000));
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 1500));
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 1500 + AUTO_REPEAT_GAP_MS)); // the gap counts from the last repeat
    NoteKeyUp(app, KEY_F7);                                           // another key's release changes nothing
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 3100));
    NoteKeyUp(app, KEY_F6);
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 3110));

    // Only the key pressed last repeats: a press of another key in between makes the next one new.
    EXPECT_FALSE(NoteKeyDown(app, KEY_A, 3120));
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 3130));
    // A release the hook missed costs no more than the gap.
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 3131 + AUTO_REPEAT_GAP_MS));

    EXPECT_TRUE(IgnoresAutoRepeat(ToggleMaster));
    EXPECT_TRUE(IgnoresAutoRepeat(RecordHotkeyPress));
    EXPECT_TRUE(IgnoresAutoRepeat(PlayHotkeyPress));
    // The hold-off key has its own repeat guard; scroll keys step on while held; recorded keys repeat.
    EXPECT_FALSE(IgnoresAutoRepeat(HoldOffPress));
    EXPECT_FALSE(IgnoresAutoRepeat(SelectNextProfile));
    EXPECT_FALSE(IgnoresAutoRepeat(PassOn));
}
