// The raw mouse handler under Wine, fed with decoded packets (the system's packet read cannot be
// faked): device list and choice, captures, mouse-button hotkeys, recording and the label.
#include "app/ControlTable.h"
#include "input/RawMouse_win.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

namespace {

HANDLE const MOUSE_A = reinterpret_cast<HANDLE>(0x5100);
HANDLE const MOUSE_B = reinterpret_cast<HANDLE>(0x5200);

void Packet(uint16_t flags, int32_t dx = 0, int32_t dy = 0, HANDLE device = MOUSE_A) {
    HandleRawMouseReading({device, flags, dx, dy});
}

using RawMouseHandlerTest = InputHandlerTest;

} // namespace

TEST_F(RawMouseHandlerTest, DeviceComboListsAnyMouseFirstAndTheChoiceFiltersPackets) {
    LRESULT entries = SendMessageW(app.deviceCombo, CB_GETCOUNT, 0, 0);
    ASSERT_EQ(entries, static_cast<LRESULT>(app.rawDevices.size()) + 1);
    wchar_t first[64] = {};
    SendMessageW(app.deviceCombo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, L"Any mouse [raw]");
    EXPECT_EQ(SendMessageW(app.deviceCombo, CB_GETCURSEL, 0, 0), 0);
    for (size_t i = 0; i < app.rawDevices.size(); ++i) {
        EXPECT_FALSE(app.rawDevices[i].name.empty());
        EXPECT_EQ(app.rawDevices[i].name.find(L'\0'), std::wstring::npos);
    }

    // Two known devices in place of whatever the system lists; the user picks the last one.
    app.rawDevices = {{MOUSE_A, L"A"}, {MOUSE_B, L"B"}};
    SendMessageW(app.deviceCombo, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* name : {L"Any mouse [raw]", L"A", L"B"})
        SendMessageW(app.deviceCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageW(app.deviceCombo, CB_SETCURSEL, 2, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_DEVICE_COMBO, CBN_SELCHANGE), 0);
    EXPECT_EQ(app.deviceIndex, 2);

    Packet(0, 5, 6, MOUSE_A);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 0  Y: 0");
    Packet(0, 5, 6, MOUSE_B);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 5  Y: 6");
    EXPECT_EQ(app.lastRawInputTick, fakeNowMs);

    // A device index from another machine drops every packet until the user chooses again.
    app.deviceIndex = 7;
    Packet(0, 1, 1, MOUSE_B);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 5  Y: 6");
    SendMessageW(app.deviceCombo, CB_SETCURSEL, 0, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_DEVICE_COMBO, CBN_SELCHANGE), 0);
    EXPECT_EQ(app.deviceIndex, 0);

    // A packet without movement or buttons still shows "X: 0  Y: 0" and refreshes the tick.
    fakeNowMs += 40;
    Packet(0x0400, 0, 0, MOUSE_A);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 0  Y: 0");
    EXPECT_EQ(app.lastRawInputTick, fakeNowMs);

    // A handle that names no packet is dropped without effect.
    HandleRawInput(0);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 0  Y: 0");
}

TEST_F(RawMouseHandlerTest, MouseRecordHotkeyIsCapturedThenRecordsItsOwnStartingPress) {
    SetFocus(app.recordHotkeyEdit);
    PumpMessages();
    Packet(0x0040, 2, 0); // X1 pressed while the record edit captures
    EXPECT_EQ(app.recordHotkey, (HotkeyBinding{HotkeyMouseButton, 0x0040}));
    EXPECT_FALSE(app.recordHotkeyCapture);
    EXPECT_EQ(WindowText(app.recordHotkeyEdit), L"Mouse button");
    EXPECT_FALSE(app.recording); // the capturing press fires nothing
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 2  Y: 0");
    Packet(0x0080);

    fakeNowMs += 1000;
    Packet(0x0040, 3, 4); // starts recording and is its first event
    EXPECT_TRUE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Stop");
    fakeNowMs += 80;
    Packet(0x0080);
    fakeNowMs += 2;
    Packet(0x0001 | 0x0002, -1, 0);
    fakeNowMs += 200;
    Packet(0x0040); // stops; this press is not recorded
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.recordButton), L"Record");
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{{Move, 3, 4, 0, 0, 0},
                                                   {ButtonDown, 0, 0, 0x0040, 0, 0},
                                                   {ButtonUp, 0, 0, 0x0080, 0, 80},
                                                   {Move, -1, 0, 0, 0, 0},
                                                   {ButtonDown, 0, 0, 0x0001, 0, 0},
                                                   {ButtonUp, 0, 0, 0x0002, 0, 0}}));
}

TEST_F(RawMouseHandlerTest, HoldOffButtonSwitchesHoldStateAndIsNeitherRecordedNorShown) {
    app.recordHotkey = {HotkeyMouseButton, 0x0004};
    Packet(0x0004);
    ASSERT_TRUE(app.recording);
    app.playing = true;
    SetFocus(app.holdOffHotkeyEdit);
    PumpMessages();
    SetWindowTextW(app.coordLabel, L"unchanged");

    Packet(0x0010, 9, 9); // captured, and the capturing press already holds off
    EXPECT_EQ(app.holdOffHotkey, (HotkeyBinding{HotkeyMouseButton, 0x0010}));
    EXPECT_EQ(WindowText(app.holdOffHotkeyEdit), L"Mouse button");
    EXPECT_FALSE(app.holdStateOn);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"OFF");
    EXPECT_EQ(WindowText(overlayMaster), L"OFF");
    EXPECT_FALSE(app.recording);
    EXPECT_TRUE(app.stopRequested);
    EXPECT_EQ(WindowText(app.coordLabel), L"unchanged");

    // Held off: the record button does nothing, but packets are still shown.
    Packet(0x0004, 1, 2);
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 1  Y: 2");

    SetWindowTextW(app.coordLabel, L"unchanged");
    Packet(0x0020, 3, 3);
    EXPECT_TRUE(app.holdStateOn);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"ON");
    EXPECT_EQ(WindowText(overlayMaster), L"ON");
    EXPECT_EQ(WindowText(app.coordLabel), L"unchanged");
    EXPECT_FALSE(app.recording);
}

TEST_F(RawMouseHandlerTest, MasterOffStopsHotkeysAndRecordingButNotCapturesOrTheLabel) {
    app.recordHotkey = {HotkeyMouseButton, 0x0004};
    Packet(0x0004);
    ASSERT_TRUE(app.recording);
    app.masterEnabled = false; // as loading a macro file may do
    Packet(0x0001, 4, 4);
    EXPECT_EQ(app.events.size(), 1u); // only the starting press
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 4  Y: 4");
    Packet(0x0004);
    EXPECT_TRUE(app.recording); // the hotkey does nothing

    SetFocus(app.playHotkeyEdit);
    PumpMessages();
    Packet(0x0100);
    EXPECT_EQ(app.playHotkey, (HotkeyBinding{HotkeyMouseButton, 0x0100}));
    EXPECT_EQ(WindowText(app.playHotkeyEdit), L"Mouse button");
}

TEST_F(RawMouseHandlerTest, HoldModePlayButtonReleaseStopsAndPressWhilePlayingDoesNothing) {
    app.playHotkey = {HotkeyMouseButton, 0x0004};
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_HOLD, BN_CLICKED), 0);
    app.playing = true;
    Packet(0x0004);
    EXPECT_FALSE(app.stopRequested);
    Packet(0x0008);
    EXPECT_TRUE(app.stopRequested);

    app.stopRequested = false;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_ONCE, BN_CLICKED), 0);
    Packet(0x0008); // released outside Hold mode: nothing
    EXPECT_FALSE(app.stopRequested);
    Packet(0x0004); // pressed while playing in Once mode: stop
    EXPECT_TRUE(app.stopRequested);
}
