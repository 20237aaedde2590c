// Raw mouse decisions: button decoding, the device filter and choice, mouse-button hotkeys.
#include "app/AppState.h"
#include "input/RawMouse.h"

#include <gtest/gtest.h>

namespace {

void* const MOUSE_A = reinterpret_cast<void*>(0x100);
void* const MOUSE_B = reinterpret_cast<void*>(0x200);

class RawMouseTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAppState(); }
    void TearDown() override { ResetAppState(); }
};

} // namespace

TEST_F(RawMouseTest, DecodeTakesFirstPressAndFirstReleaseInButtonOrder) {
    EXPECT_EQ(DecodeRawButtons(0), (ButtonTransitions{0, 0}));
    EXPECT_EQ(DecodeRawButtons(0x0001), (ButtonTransitions{0x0001, 0}));
    EXPECT_EQ(DecodeRawButtons(0x0200), (ButtonTransitions{0, 0x0200}));
    // A fast click: press and release of the left button in one packet.
    EXPECT_EQ(DecodeRawButtons(0x0003), (ButtonTransitions{0x0001, 0x0002}));
    // Two presses: left before right, right before middle, middle before X1, X1 before X2.
    EXPECT_EQ(DecodeRawButtons(0x0004 | 0x0001), (ButtonTransitions{0x0001, 0}));
    EXPECT_EQ(DecodeRawButtons(0x0010 | 0x0004), (ButtonTransitions{0x0004, 0}));
    EXPECT_EQ(DecodeRawButtons(0x0040 | 0x0010), (ButtonTransitions{0x0010, 0}));
    EXPECT_EQ(DecodeRawButtons(0x0100 | 0x0040), (ButtonTransitions{0x0040, 0}));
    EXPECT_EQ(DecodeRawButtons(0x0200 | 0x0080 | 0x0020), (ButtonTransitions{0, 0x0020}));
    // Press of one button and release of another, with wheel bits (0x0400, 0x0800) ignored.
    EXPECT_EQ(DecodeRawButtons(0x0400 | 0x0800 | 0x0100 | 0x0008), (ButtonTransitions{0x0100, 0x0008}));
    EXPECT_EQ(DecodeRawButtons(0x0400), (ButtonTransitions{0, 0}));
}

TEST_F(RawMouseTest, DeviceFilterFollowsTheChosenComboEntry) {
    app.rawDevices = {{MOUSE_A, L"\\\\?\\HID#A"}, {MOUSE_B, L"\\\\?\\HID#B"}};
    MousePacket packet;
    EXPECT_TRUE(DecodeMousePacket(app, {MOUSE_A, 0x0003, 4, -5}, packet)); // any mouse
    EXPECT_EQ(packet.dx, 4);
    EXPECT_EQ(packet.dy, -5);
    EXPECT_EQ(packet.press, 0x0001u);
    EXPECT_EQ(packet.release, 0x0002u);
    EXPECT_TRUE(PassesDeviceFilter(app, MOUSE_B));

    app.deviceIndex = 2; // the last device
    EXPECT_FALSE(PassesDeviceFilter(app, MOUSE_A));
    EXPECT_TRUE(PassesDeviceFilter(app, MOUSE_B));

    app.deviceIndex = 3; // loaded from a file written on another machine
    EXPECT_FALSE(PassesDeviceFilter(app, MOUSE_A));
    EXPECT_FALSE(PassesDeviceFilter(app, MOUSE_B));

    app.rawDevices[0].handle = nullptr; // a device without a handle filters nothing
    app.deviceIndex = 1;
    EXPECT_TRUE(PassesDeviceFilter(app, MOUSE_B));
}

TEST_F(RawMouseTest, DeviceChoiceTakesOnlyExistingEntries) {
    app.rawDevices = {{MOUSE_A, L"A"}, {MOUSE_B, L"B"}};
    EXPECT_TRUE(SelectDeviceEntry(2));
    EXPECT_EQ(app.deviceIndex, 2);
    EXPECT_FALSE(SelectDeviceEntry(3));
    EXPECT_FALSE(SelectDeviceEntry(-1)); // no selection
    EXPECT_EQ(app.deviceIndex, 2);
    EXPECT_TRUE(SelectDeviceEntry(0));
    EXPECT_EQ(app.deviceIndex, 0);
    EXPECT_EQ(TrimDeviceName(std::wstring(L"\\\\?\\HID#X\0", 10)), L"\\\\?\\HID#X");
    EXPECT_EQ(TrimDeviceName(L"plain"), L"plain");
}

TEST_F(RawMouseTest, CaptureGoesToTheFocusedEditOnlyWhenItsCaptureIsArmed) {
    app.playHotkeyCapture = true;
    EXPECT_EQ(MouseCaptureTarget(app, HotkeyEdit::Record), HotkeyEdit::None);
    EXPECT_EQ(MouseCaptureTarget(app, HotkeyEdit::Play), HotkeyEdit::Play);
    EXPECT_EQ(MouseCaptureTarget(app, HotkeyEdit::None), HotkeyEdit::None); // focus elsewhere
    app.holdOffHotkeyCapture = true;
    EXPECT_EQ(MouseCaptureTarget(app, HotkeyEdit::HoldOff), HotkeyEdit::HoldOff);
}

TEST_F(RawMouseTest, HotkeysFireOnlyWithMasterAndHoldStateOn) {
    app.recordHotkey = {HotkeyMouseButton, 0x0040};
    app.playHotkey = {HotkeyMouseButton, 0x0100};
    EXPECT_EQ(MouseHotkeyFor(app, 0x0040), MouseHotkeyAction::ToggleRecording);
    EXPECT_EQ(MouseHotkeyFor(app, 0x0100), MouseHotkeyAction::PlayHotkey);
    EXPECT_EQ(MouseHotkeyFor(app, 0x0001), MouseHotkeyAction::None);
    app.holdStateOn = false;
    EXPECT_EQ(MouseHotkeyFor(app, 0x0040), MouseHotkeyAction::None);
    app.holdStateOn = true;
    app.masterEnabled = false;
    EXPECT_EQ(MouseHotkeyFor(app, 0x0100), MouseHotkeyAction::None);
    // A keyboard binding with the same code is not a mouse hotkey.
    app.masterEnabled = true;
    app.recordHotkey = {HotkeyKeyboard, 0x0040};
    EXPECT_EQ(MouseHotkeyFor(app, 0x0040), MouseHotkeyAction::None);
}

TEST_F(RawMouseTest, HoldOffAndHoldModeReleasesMatchTwiceThePressFlag) {
    app.holdOffHotkey = {HotkeyMouseButton, 0x0010};
    EXPECT_TRUE(IsHoldOffButtonPress(app, 0x0010));
    EXPECT_FALSE(IsHoldOffButtonPress(app, 0x0020));
    EXPECT_TRUE(IsHoldOffButtonRelease(app, 0x0020));
    EXPECT_FALSE(IsHoldOffButtonRelease(app, 0x0010));
    EXPECT_FALSE(IsHoldOffButtonRelease(app, 0));
    app.holdOffHotkey = {HotkeyKeyboard, 0x0010};
    EXPECT_FALSE(IsHoldOffButtonPress(app, 0x0010));
    EXPECT_FALSE(IsHoldOffButtonRelease(app, 0x0020));

    app.playHotkey = {HotkeyMouseButton, 0x0004};
    app.playMode = Hold;
    EXPECT_FALSE(IsHoldModePlayRelease(app, 0x0008)); // not playing
    app.playing = true;
    EXPECT_TRUE(IsHoldModePlayRelease(app, 0x0008));
    EXPECT_FALSE(IsHoldModePlayRelease(app, 0x0002));
    app.playMode = Loop;
    EXPECT_FALSE(IsHoldModePlayRelease(app, 0x0008));
}
