// The event list's rules: row texts, typed delays and speeds, the delay and delete edits.
#include "app/ControlTable.h"
#include "macro/EventList.h"

#include <gtest/gtest.h>

TEST(EventList, RowTextsNameTheEventAndItsDelay) {
    EXPECT_EQ(FormatEventRow(4, {ButtonUp, 0, 0, 512, 0, 4294967295u}),
              L"4: Mouse up btn=512  delay=4294967295 ms");
    EXPECT_EQ(FormatEventRow(12, {Key, 0, 0, 0, 13, 7}), L"12: Key vk=0xd  delay=7 ms");
    EXPECT_EQ(FormatEventRow(1, {Key, 0, 0, 0, 0x10041, 120}), L"1: Key vk=0x41 Shift  delay=120 ms");
    EXPECT_EQ(FormatEventRow(2, {Key, 0, 0, 0, 0xF0053, 0}),
              L"2: Key vk=0x53 Ctrl+Alt+Shift+Win  delay=0 ms");
    EXPECT_EQ(FormatEventRow(0, {ButtonDown, 0, 0, 1, MODIFIER_CTRL, 0}),
              L"0: Mouse down btn=1 Ctrl  delay=0 ms");
    EXPECT_EQ(FormatEventRow(3, {-1, 0, 0, 0, 0, 0}), L"3: Event  delay=0 ms");
    EXPECT_EQ(FormatEventRow(123456, {Move, INT32_MIN, 0, 0, 0, 1000}),
              L"123456: Move dx=-2147483648 dy=0  delay=1000 ms");
}

TEST(EventList, TypedDelaysRoundToTheNearestMillisecondWithinThirtyTwoBitsAndSpeedsStayInRange) {
    EXPECT_EQ(DelayMsFromText(L"0.0004"), 0u);
    EXPECT_EQ(DelayMsFromText(L"0.0005"), 1u);
    EXPECT_EQ(DelayMsFromText(L"  2.25s"), 2250u);
    EXPECT_EQ(DelayMsFromText(L"-2"), 0u);
    EXPECT_EQ(DelayMsFromText(L"nan"), 0u);
    EXPECT_EQ(DelayMsFromText(L"4294967.295"), 4294967295u);
    EXPECT_EQ(DelayMsFromText(L"4294967.296"), DELAY_MS_MAX);
    EXPECT_EQ(DelayMsFromText(L"inf"), DELAY_MS_MAX);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"nan"), 0.05);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"0.01"), 0.01);
    // A file's speed has no upper bound; the box shows any finite one whole.
    EXPECT_EQ(FormatSpeed(0.6), L"0.600");
    EXPECT_EQ(FormatSpeed(-1e300), L"-1e+300");
}

TEST(EventList, ARowDelayGoesToItsEventAndDeleteTakesTickedRowsOnly) {
    ResetAppState();
    app.events = {{Move, 1, 1, 0, 0, 7}, {Key, 0, 0, 0, 1, 8}, {Key, 0, 0, 0, 2, 9}, {Key, 0, 0, 0, 3, 10}};
    EXPECT_TRUE(WriteRowDelay(2, 1500));
    EXPECT_FALSE(WriteRowDelay(4, 5));
    EXPECT_FALSE(WriteRowDelay(NO_ROW, 5));
    EXPECT_EQ(EventRowText(2), L"2: Key vk=0x2  delay=1500 ms");
    EXPECT_EQ(EventRowText(4), L"");

    EXPECT_FALSE(RemoveTickedEvents());  // no ticks
    app.rowTicks = {false, true, false}; // rows past the ticks stay
    EXPECT_TRUE(RemoveTickedEvents());
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{
                              {Move, 1, 1, 0, 0, 7}, {Key, 0, 0, 0, 2, 1500}, {Key, 0, 0, 0, 3, 10}}));
}
