// The recording clock and the events appended for mouse packets and key presses.
#include "app/AppState.h"
#include "macro/Recorder.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

uint64_t nowMs = 0;
uint64_t TestClock() {
    return nowMs;
}

class RecorderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAppState();
        app.clock = TestClock;
        nowMs = 50'000;
        BeginRecording();
    }
    void TearDown() override { ResetAppState(); }
};

MacroEvent MoveEvent(int32_t dx, int32_t dy, uint32_t delay) {
    return {Move, dx, dy, 0, 0, delay};
}
MacroEvent DownEvent(uint32_t flag, uint32_t delay) {
    return {ButtonDown, 0, 0, flag, 0, delay};
}
MacroEvent UpEvent(uint32_t flag, uint32_t delay) {
    return {ButtonUp, 0, 0, flag, 0, delay};
}
MacroEvent KeyEvent(uint32_t vk, uint32_t delay) {
    return {Key, 0, 0, 0, vk, delay};
}

} // namespace

TEST_F(RecorderTest, FirstEventGetsZeroThenGapsCountFromThePreviousPacketOrKey) {
    nowMs += 4000; // a long wait after pressing Record
    RecordMousePacket(3, -1, 0, 0);
    nowMs += 120;
    RecordMousePacket(0, 0, 0x0001, 0);
    nowMs += 4; // under the mouse floor
    RecordMousePacket(1, 1, 0, 0);
    nowMs += 5; // exactly the floor
    RecordMousePacket(0, 0, 0, 0x0002);
    nowMs += 3; // keys have no floor
    RecordKeyPress(0x41);
    nowMs += 1;
    RecordKeyPress(0x42);
    EXPECT_EQ(app.events,
              (std::vector<MacroEvent>{MoveEvent(3, -1, 0), DownEvent(0x0001, 120), MoveEvent(1, 1, 0),
                                       UpEvent(0x0002, 5), KeyEvent(0x41, 3), KeyEvent(0x42, 1)}));
    EXPECT_EQ(app.lastEventTick, nowMs);
}

TEST_F(RecorderTest, OnePacketYieldsMoveDownUpInOrderAndOnlyTheFirstCarriesTheGap) {
    RecordKeyPress(0x20);
    nowMs += 40;
    RecordMousePacket(-7, 2, 0x0004, 0x0008);
    nowMs += 30;
    RecordMousePacket(0, 0, 0x0010, 0x0020);
    EXPECT_EQ(app.events,
              (std::vector<MacroEvent>{KeyEvent(0x20, 0), MoveEvent(-7, 2, 40), DownEvent(0x0004, 0),
                                       UpEvent(0x0008, 0), DownEvent(0x0010, 30), UpEvent(0x0020, 0)}));
}

TEST_F(RecorderTest, WheelOnlyPacketAppendsNothingButRestartsTheClock) {
    RecordMousePacket(1, 0, 0, 0);
    nowMs += 100;
    RecordMousePacket(0, 0, 0, 0); // a wheel notch: nothing to record
    EXPECT_EQ(app.events.size(), 1u);
    EXPECT_EQ(app.lastEventTick, nowMs);
    nowMs += 30;
    RecordMousePacket(2, 0, 0, 0);
    ASSERT_EQ(app.events.size(), 2u);
    EXPECT_EQ(app.events[1].delayMs, 30u); // not 130
}

TEST_F(RecorderTest, NothingIsAppendedWhileIdleOrWithTheMasterSwitchOff) {
    app.masterEnabled = false;
    nowMs += 10;
    RecordMousePacket(5, 5, 0x0001, 0);
    EXPECT_TRUE(app.events.empty());
    EXPECT_EQ(app.lastEventTick, 50'000u); // the clock is not touched by refused packets

    app.masterEnabled = true;
    EndRecording();
    RecordMousePacket(5, 5, 0, 0);
    RecordKeyPress(0x41);
    EXPECT_TRUE(app.events.empty());
}

TEST_F(RecorderTest, ClockThatDoesNotAdvanceOrJumpsFarGivesZeroOrTheLongestDelay) {
    RecordKeyPress(0x41);
    nowMs -= 20; // a clock that went back
    RecordKeyPress(0x42);
    nowMs += (uint64_t{1} << 32) + 9; // longer than a 32-bit delay holds
    RecordKeyPress(0x43);
    ASSERT_EQ(app.events.size(), 3u);
    EXPECT_EQ(app.events[1].delayMs, 0u);
    EXPECT_EQ(app.events[2].delayMs, 0xFFFFFFFFu);
}

TEST_F(RecorderTest, StartingAgainDiscardsTheMacroAndTheListRowsAndRestartsTheClock) {
    RecordKeyPress(0x41);
    nowMs += 500;
    RecordKeyPress(0x42);
    app.eventListRows = {EventListRow{L"0: Key vk=0x41  delay=0 ms", {0}}};
    app.rowTicks = {true};
    app.selectedRow = 0;
    EndRecording();
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(app.events.size(), 2u); // stopping keeps the macro

    nowMs += 9000;
    BeginRecording();
    EXPECT_TRUE(app.recording);
    EXPECT_TRUE(app.events.empty());
    EXPECT_TRUE(app.eventListRows.empty());
    EXPECT_TRUE(app.rowTicks.empty());
    EXPECT_EQ(app.selectedRow, NO_ROW);
    EXPECT_EQ(app.lastEventTick, nowMs);
    nowMs += 2;
    RecordMousePacket(1, 1, 0, 0);
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{MoveEvent(1, 1, 0)}));
}
