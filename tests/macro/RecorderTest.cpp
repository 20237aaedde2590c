// The gaps the recorder gives the events it appends for mouse packets and key presses.
#include "app/AppState.h"
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
