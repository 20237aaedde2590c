// The gaps the recorder gives the events it appends for mouse packets and key presses.
#include "app/AppState.h"
#include "input/KeyboardHook.h"
#include "macro/Recorder.h"

#include <gtest/gtest.h>

TEST(Recorder, GapsCountFromThePreviousPacketOrKeyKeepTheMouseFloorAndSaturate) {
    static uint64_t nowMs = 50'000;
    ResetAppState();
    app.clock = [] { return nowMs; };
    app.rowTicks = {true}; // rows, ticks and selection described the discarded macro
    app.selectedRow = 0;
    BeginRecording();
    EXPECT_TRUE(app.rowTicks.empty());
    EXPECT_EQ(app.selectedRow, NO_ROW);
    nowMs += 4000; // the first event gets no wait, however long after Record it comes
    RecordMousePacket(3, -1, 0, 0);
    nowMs += 120;
    RecordMousePacket(-7, 2, 0x0004, 0x0008); // only the first event of a packet carries the gap
    nowMs += 4;                               // under the mouse floor
    RecordMousePacket(1, 1, 0, 0);
    nowMs += 5; // exactly the floor
    RecordMousePacket(0, 0, 0, 0x0002);
    nowMs += 100;
    RecordMousePacket(0, 0, 0, 0); // a wheel notch: nothing to record, but the gap starts again
    nowMs += 3;                    // keys have no floor
    RecordKeyPress(0x41);
    nowMs -= 20; // a clock that went back
    RecordKeyPress(0x42);
    nowMs += (uint64_t{1} << 32) + 9; // longer than a 32-bit delay holds
    RecordMousePacket(0, 0, 0x0001, 0x0002);
    // Packets and keys as recorded (their kinds and order are checked by the raw mouse handler tests).
    std::vector<uint32_t> delays;
    for (const MacroEvent& event : app.events)
        delays.push_back(event.delayMs);
    EXPECT_EQ(delays, (std::vector<uint32_t>{0, 120, 0, 0, 0, 5, 3, 0, 0xFFFFFFFF, 0}));
}

TEST(Recorder, KeysAndClicksWithModifiersHeldBecomeOneChordThatTakesTheModifiersTaps) {
    static uint64_t nowMs = 1000;
    ResetAppState();
    app.clock = [] { return nowMs; };
    BeginRecording();
    // As the hook does it: the key is recorded, then noted as held.
    auto press = [](uint32_t vk, uint64_t gap) {
        nowMs += gap;
        RecordKeyPress(vk);
        NoteModifierKey(app, vk, true);
    };
    auto release = [](uint32_t vk) {
        NoteModifierKey(app, vk, false);
        KeepModifierTap(vk);
    };
    press(0xA0, 5); // left Shift, H, I: two chords, the first with Shift's delay added
    press(0x48, 120);
    press(0x49, 10);
    release(0xA0);
    press(0xA4, 30); // Alt alone stays a tap
    release(0xA4);
    press(0xA1, 20); // right Shift held, repeating, while the mouse moves, then a Shift-click
    press(0xA1, 500);
    nowMs += 10;
    RecordMousePacket(4, 0, 0, 0);
    nowMs += 40;
    RecordMousePacket(0, 0, 0x0001, 0);
    release(0xA1);
    nowMs += 6;
    RecordMousePacket(0, 0, 0, 0x0002);
    press(0xA2, 5); // AltGr (left Ctrl, right Alt) and Q
    press(0xA5, 1);
    press(0x51, 7);
    release(0xA5);
    press(0xA3, 9); // right Ctrl held with the record hotkey is not recorded
    DropProvisionalTaps();
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{{Key, 0, 0, 0, 0x10048, 120},
                                                   {Key, 0, 0, 0, 0x10049, 10},
                                                   {Key, 0, 0, 0, 0xA4, 30},
                                                   {Move, 4, 0, 0, 0, 530},
                                                   {ButtonDown, 0, 0, 0x0001, MODIFIER_SHIFT, 40},
                                                   {ButtonUp, 0, 0, 0x0002, 0, 6},
                                                   {Key, 0, 0, 0, 0x60051, 13}}));
}
