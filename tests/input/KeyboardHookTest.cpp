// The keyboard hook's rule order and auto-repeat, the slots that the profile keys pick, the buttons of
// a raw mouse packet, and key texts.
#include "core/AppState.h"
#include "input/KeyNames.h"
#include "input/KeyboardHook.h"
#include "input/RawMouse.h"
#include "ui/windows/ProfileSwitching.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t KEY_A = 0x41, KEY_SPACE = 0x20, KEY_F6 = 0x75, KEY_F7 = 0x76, KEY_1 = 0x31, KEY_Q = 0x51;
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
    static KeyPressDecision Rule(KeyPressRule r, int slot = -1, bool rec = false, uint32_t code = 0) {
        return {r, slot, rec, code};
    }
};

using enum KeyPressRule;

} // namespace

TEST_F(KeyboardHookTest, FixedKeysActBeforeCapturesButAfterProfileTriggerCapture) {
    // Captures take the first armed flag in their order, also for the hold-off key itself (the
    // hold-off box's is in the next test, the scroll boxes' in the profiles scenario).
    app.recordHotkeyCapture = app.playHotkeyCapture = app.scrollNextCapture = true;
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CaptureRecordHotkey, -1, false, KEY_A));
    app.recordHotkeyCapture = false;
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(CapturePlayHotkey, -1, false, KEY_SPACE));
    app.playHotkeyCapture = false;
    EXPECT_EQ(DecideKeyPress(app, KEY_F6), Rule(CaptureScrollNext, -1, false, KEY_F6));
    // A trigger capture comes before F4 and F8; only the free hold-off key comes before it.
    app.profileHotkeyCaptureSlot = 9;
    EXPECT_EQ(DecideKeyPress(app, VK_F4_KEY), Rule(CaptureProfileTrigger, 9, false, VK_F4_KEY));
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(HoldOffPress));
    app.recordHotkeyCapture = true; // the hold-off key is no longer free
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(CaptureProfileTrigger, 9, false, KEY_SPACE));
}

TEST_F(KeyboardHookTest, HotkeysAreNeverRecordedWhileScrollAndProfileKeysAreRecordedWithoutSwitching) {
    // Their switching outside a recording, and the record hotkey, are checked in the chord test below.
    app.recording = true; // the hotkeys take the held modifiers' taps out of the recording
    EXPECT_EQ(DecideKeyPress(app, KEY_F7), (KeyPressDecision{PlayHotkeyPress, -1, false, 0, true}));
    for (uint32_t vk : {KEY_PAGE_UP, KEY_PAGE_DOWN, KEY_1, KEY_A})
        EXPECT_EQ(DecideKeyPress(app, vk), Rule(PassOn, -1, true)) << vk;
    app.playHotkeyCapture = true; // a capture takes the key before the recorder sees it
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CapturePlayHotkey, -1, false, KEY_A));

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
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(CaptureHoldOffHotkey, -1, false, KEY_A));
}

TEST_F(KeyboardHookTest, CapturesBindChordsAndEscapeCancelsWhileTheLeftButtonIsNeverTaken) {
    constexpr uint32_t LEFT_CTRL = 0xA2, RIGHT_SHIFT = 0xA1;
    app.recordHotkeyCapture = true;
    EXPECT_EQ(DecideKeyPress(app, LEFT_CTRL), Rule(AwaitChordKey));
    EXPECT_EQ(DecideKeyPress(app, VK_ESCAPE_KEY), Rule(CancelCapture));
    EXPECT_EQ(DecideKeyPress(app, VK_F4_KEY), Rule(ToggleMaster)); // before the capture, which keeps waiting
    // A modifier pressed during the capture and released before any key binds itself.
    EXPECT_EQ(DecideKeyRelease(app, LEFT_CTRL), KeyReleaseRule::PassOn); // held since before it
    app.captureModifierPending = true;
    EXPECT_EQ(DecideKeyRelease(app, LEFT_CTRL), KeyReleaseRule::CaptureModifier);
    EXPECT_EQ(DecideCapture(app, LEFT_CTRL, true), Rule(CaptureRecordHotkey, -1, false, LEFT_CTRL));
    // Profile triggers take chords the same way, with either side's modifier.
    app.recordHotkeyCapture = false;
    app.profileHotkeyCaptureSlot = 4;
    app.heldModifierKeys = 1u << ModifierKeySlot(RIGHT_SHIFT);
    EXPECT_EQ(DecideKeyPress(app, KEY_1), Rule(CaptureProfileTrigger, 4, false, KEY_1 | MODIFIER_SHIFT));

    // The left button moves the focus and clicks X: it is never captured and never a hotkey.
    app.profileHotkeyCaptureSlot = -1;
    app.playHotkeyCapture = true;
    EXPECT_EQ(MouseCaptureTarget(app, HotkeyEdit::Play, BUTTON_PRESS_FLAGS[0]), HotkeyEdit::None);
    EXPECT_EQ(MouseCaptureTarget(app, HotkeyEdit::Play, BUTTON_PRESS_FLAGS[2]), HotkeyEdit::Play);
    app.holdOffHotkey = {HotkeyMouseButton, BUTTON_PRESS_FLAGS[0]}; // as an older file may hold
    EXPECT_FALSE(IsHoldOffButtonPress(app, BUTTON_PRESS_FLAGS[0]));
    EXPECT_FALSE(IsHoldOffButtonRelease(app, BUTTON_RELEASE_FLAGS[0]));
}

TEST_F(KeyboardHookTest, AChordActsOnlyWithExactlyItsModifiersAndReplayedKeysNeverActAsSwitches) {
    constexpr uint32_t LEFT_CTRL_HELD = 1u << 2, RIGHT_CTRL_HELD = 1u << 3, SHIFT_HELD = 1u << 0;
    app.recordHotkey = {HotkeyKeyboard, KEY_Q | MODIFIER_CTRL};
    app.playHotkey = {HotkeyKeyboard, KEY_Q};
    app.holdOffHotkey = {HotkeyKeyboard, KEY_SPACE | MODIFIER_ALT};
    app.heldModifierKeys = RIGHT_CTRL_HELD;
    EXPECT_EQ(DecideKeyPress(app, KEY_Q), Rule(RecordHotkeyPress));
    EXPECT_EQ(DecideKeyPress(app, KEY_SPACE), Rule(PassOn)); // Ctrl+Space is not Alt+Space
    // A key bound alone acts whatever is held, unless that makes it a chord bound elsewhere.
    app.heldModifierKeys = LEFT_CTRL_HELD | SHIFT_HELD;
    EXPECT_EQ(DecideKeyPress(app, KEY_Q), Rule(PlayHotkeyPress));
    // A chord ends with its key's release, whatever was let go before it.
    EXPECT_EQ(DecideKeyRelease(app, KEY_SPACE), KeyReleaseRule::HoldOffRelease);
    // During a recording the chord's modifiers, recorded before its key, go with it.
    app.recording = true;
    app.heldModifierKeys = LEFT_CTRL_HELD;
    EXPECT_EQ(DecideKeyPress(app, KEY_Q), (KeyPressDecision{RecordHotkeyPress, -1, false, 0, true}));
    EXPECT_EQ(DecideKeyPress(app, KEY_A), Rule(PassOn, -1, true));

    // The program's own replayed keys: never a switch or a capture; profile keys still switch.
    app.recording = false;
    app.heldModifierKeys = 0;
    app.holdOffHotkey = {HotkeyKeyboard, KEY_SPACE};
    app.recordHotkeyCapture = true;
    for (uint32_t vk : {KEY_Q, KEY_SPACE, VK_F4_KEY, VK_F8_KEY, KEY_A, VK_ESCAPE_KEY})
        EXPECT_EQ(DecideKeyPress(app, vk, true), Rule(PassOn)) << vk;
    EXPECT_EQ(DecideKeyPress(app, KEY_1, true), Rule(SwitchToProfile, 5));
    EXPECT_EQ(DecideKeyPress(app, KEY_PAGE_UP, true), Rule(SelectPreviousProfile));
    app.playMode = Hold;
    EXPECT_EQ(DecideKeyRelease(app, KEY_SPACE, true), KeyReleaseRule::PassOn);
    EXPECT_EQ(DecideKeyRelease(app, KEY_Q, true), KeyReleaseRule::PassOn);
    EXPECT_EQ(DecideKeyRelease(app, KEY_Q), KeyReleaseRule::PlayHotkeyRelease);
}

TEST_F(KeyboardHookTest, AutoRepeatIsAKeyPressedAgainBeforeItsRelease) {
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 1000));
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 1500));
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 1500 + AUTO_REPEAT_GAP_MS)); // the gap counts from the last repeat
    NoteKeyUp(app, KEY_F6);
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 3110));
    // Other keys pressed and released (typed or replayed) while it is held change nothing.
    EXPECT_FALSE(NoteKeyDown(app, KEY_A, 3120));
    NoteKeyUp(app, KEY_A);
    EXPECT_TRUE(NoteKeyDown(app, KEY_F6, 3130));
    // A release the hook missed costs no more than the gap.
    EXPECT_FALSE(NoteKeyDown(app, KEY_F6, 3131 + AUTO_REPEAT_GAP_MS));
    // The hook swallows the repeat of a key that acts once per press, and only that.
    EXPECT_EQ(TakeKeyPress(app, KEY_F7, false, 5000).rule, PlayHotkeyPress);
    EXPECT_EQ(TakeKeyPress(app, KEY_F7, false, 5030).rule, SwallowRepeat);
    EXPECT_EQ(TakeKeyPress(app, VK_F4_KEY, false, 5000).rule, ToggleMaster); // held, it switches once
    EXPECT_EQ(TakeKeyPress(app, VK_F4_KEY, false, 5030).rule, SwallowRepeat);
    NoteKeyDown(app, KEY_PAGE_UP, 5000);
    EXPECT_EQ(TakeKeyPress(app, KEY_PAGE_UP, false, 5030),
              (KeyPressDecision{SelectPreviousProfile, -1, false, 0, false, true}));
}

TEST_F(KeyboardHookTest,
       RawMouseTakesTheFirstPressAndReleaseInButtonOrderTheWheelAndOnlyMarkedPacketsAreOwn) {
    // Presses, then releases, take the first button in the order left, right, middle, X1, X2 (pressed
    // 0x0001, 0x0004, 0x0010, 0x0040, 0x0100; released twice that); a fast click brings both in one
    // packet; the wheel bits 0x0400 and 0x0800 are no buttons.
    const uint16_t cases[][3] = {{0x0003, 0x0001, 0x0002}, {0x0005, 0x0001, 0}, {0x0014, 0x0004, 0},
                                 {0x0050, 0x0010, 0},      {0x0140, 0x0040, 0}, {0x02A0, 0, 0x0020},
                                 {0x0D08, 0x0100, 0x0008}, {0x0400, 0, 0}}; // flags, press, release
    for (auto [flags, press, release] : cases)
        EXPECT_EQ(DecodeRawButtons(flags), (ButtonTransitions{press, release})) << flags;
    app.rawDevices = {{}}; // the chosen mouse has no handle: every device's packets pass
    app.deviceIndex = 1;
    MousePacket packet; // wheel deltas as delivered, a high-resolution -30 too
    ASSERT_TRUE(DecodeMousePacket(app, {&app, 0x0400, 0, 0, 0, 0xFFE2}, packet));
    EXPECT_EQ(std::pair(packet.wheelDx, packet.wheelDy), std::pair(0, -30));
    ASSERT_TRUE(DecodeMousePacket(app, {nullptr, 0x0800, 0, 0, 0, 120}, packet));
    EXPECT_EQ(std::pair(packet.wheelDx, packet.wheelDy), std::pair(120, 0));
    app.holdOffHotkey = {HotkeyMouseButton, 0x0010}; // middle: pressed 0x0010, released 0x0020
    EXPECT_TRUE(IsHoldOffButtonRelease(app, 0x0020));
    // Only the playback's mark makes a packet its own; remote sessions send no device handle.
    EXPECT_TRUE(IsOwnInjectedPacket({reinterpret_cast<void*>(1), 0x0010, 0, 0, INJECTED_INPUT_MARK}));
    EXPECT_FALSE(IsOwnInjectedPacket({nullptr, 0x0010, 0, 0, 0}));
}

TEST(KeyNames, BindingTextsAndTheNavigationKeysThatAreExtendedUnlikeTheNumericPad) {
    // No system name: hexadecimal. "None" for no binding is checked by the modes scenario.
    EXPECT_EQ(HotkeyText({HotkeyKeyboard, 0x7 | MODIFIER_BITS}, L""), L"Ctrl+Alt+Shift+Win+VK 0x07");
    for (uint32_t vk : {0x21u, 0x24u, 0x25u, 0x28u, 0x2Du, 0x2Eu, 0x6Fu, 0x90u, 0xA3u, 0xA5u})
        EXPECT_TRUE(IsExtendedKey(vk)) << vk;
    for (uint32_t vk : {0x41u, 0x60u, 0x68u, 0x6Au, 0xA2u, 0xA4u, 0x0Du})
        EXPECT_FALSE(IsExtendedKey(vk)) << vk;
}

TEST(ProfileSwitching, CyclingWrapsOverEnabledSlotsAndTheLowestTriggeredSlotWins) {
    ProfileSlots slots;
    slots[0].enabled = slots[4].enabled = slots[9].enabled = true;
    // From an active slot that is not enabled (5) to its neighbours; from none: the lowest or highest.
    const int steps[][3] = {{4, 9, 0}, {9, 0, 4}, {5, 9, 4}, {-1, 0, 9}}; // active, next, previous
    for (auto [active, next, previous] : steps) {
        EXPECT_EQ(NextEnabledSlot(slots, active), next) << active;
        EXPECT_EQ(PreviousEnabledSlot(slots, active), previous) << active;
    }
    EXPECT_EQ(NextEnabledSlot(ProfileSlots{}, 3), -1);
    EXPECT_EQ(PreviousEnabledSlot(ProfileSlots{}, -1), -1);
    slots[3] = {true, {HotkeyKeyboard, 0x41}, L"low"};
    slots[5] = {true, {HotkeyKeyboard, 0x41}, L"high"};
    slots[6] = {true, {HotkeyMouseButton, 0x42}, L"mouse"};
    EXPECT_EQ(TriggeredSlot(slots, 0x41), 3);
    EXPECT_EQ(TriggeredSlot(slots, 0x42), -1);
    EXPECT_EQ(TriggeredSlot(slots, 0), -1) << "enabled slots without a trigger never match, not even code 0";
}
