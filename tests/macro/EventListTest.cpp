// The event list's rules: row texts, typed delays and speeds, the delay and delete edits.
#include "macro/EventList.h"

#include <gtest/gtest.h>

namespace {

class EventListTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAppState(); }
};

} // namespace

TEST_F(EventListTest, RowTextsNameTheEventAndItsDelay) {
    EXPECT_EQ(FormatEventRow(0, {Move, 3, -1, 0, 0, 0}), L"0: Move dx=3 dy=-1  delay=0 ms");
    EXPECT_EQ(FormatEventRow(1, {ButtonDown, 0, 0, 1, 0, 120}), L"1: Mouse down btn=1  delay=120 ms");
    EXPECT_EQ(FormatEventRow(2, {Key, 0, 0, 0, 27, 7}), L"2: Key vk=0x1b  delay=7 ms");
    EXPECT_EQ(FormatEventRow(3, {9, 0, 0, 0, 0, 0}), L"3: Event  delay=0 ms");
    EXPECT_EQ(FormatEventRow(12, {Key, 0, 0, 0, 13, 0}), L"12: Key vk=0xd  delay=0 ms");
    EXPECT_EQ(FormatEventRow(4, {ButtonUp, 0, 0, 512, 0, 4294967295u}),
              L"4: Mouse up btn=512  delay=4294967295 ms");
    EXPECT_EQ(FormatEventRow(123456, {Move, INT32_MIN, 0, 0, 0, 1000}),
              L"123456: Move dx=-2147483648 dy=0  delay=1000 ms");
    EXPECT_EQ(FormatEventRow(0, {-1, 0, 0, 0, 0, 0}), L"0: Event  delay=0 ms");

    std::vector<EventListRow> rows = MakeEventRows({{Move, 1, 2, 0, 0, 0}, {Key, 0, 0, 0, 0x41, 5}});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].text, L"1: Key vk=0x41  delay=5 ms");
    EXPECT_EQ(rows[1].eventIndices, std::vector<size_t>{1});
    EXPECT_EQ(FormatDelaySeconds(120), L"0.120");
    EXPECT_EQ(FormatDelaySeconds(1500), L"1.500");
}

TEST_F(EventListTest, TypedDelaysRoundToTheNearestMillisecondWithinThirtyTwoBits) {
    EXPECT_EQ(DelayMsFromText(L"1.5"), 1500u);
    EXPECT_EQ(DelayMsFromText(L"0.0004"), 0u);
    EXPECT_EQ(DelayMsFromText(L"0.0005"), 1u);
    EXPECT_EQ(DelayMsFromText(L"-2"), 0u);
    EXPECT_EQ(DelayMsFromText(L"abc"), 0u);
    EXPECT_EQ(DelayMsFromText(L""), 0u);
    EXPECT_EQ(DelayMsFromText(L"nan"), 0u);
    EXPECT_EQ(DelayMsFromText(L"  2.25s"), 2250u);
    EXPECT_EQ(DelayMsFromText(L"4294967.295"), 4294967295u);
    EXPECT_EQ(DelayMsFromText(L"4294967.296"), DELAY_MS_MAX);
    EXPECT_EQ(DelayMsFromText(L"1e300"), DELAY_MS_MAX);
    EXPECT_EQ(DelayMsFromText(L"inf"), DELAY_MS_MAX);

    EXPECT_DOUBLE_EQ(SpeedFromText(L"0"), 0.05);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"-1"), 0.05);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"abc"), 0.05);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"nan"), 0.05);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"9"), 5.0);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"1.25"), 1.25);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"0.01"), 0.01);
}

TEST_F(EventListTest, ARowDelayGoesToTheRowsFirstValidEventAndZeroToTheRest) {
    app.events = {{Move, 1, 1, 0, 0, 7}, {Key, 0, 0, 0, 1, 8}, {Key, 0, 0, 0, 2, 9}, {Key, 0, 0, 0, 3, 10}};
    app.eventListRows = {{L"a", {9, 2, 0, 3}}, {L"b", {}}, {L"c", {1}}};
    EXPECT_TRUE(WriteRowDelay(0, 1500));
    EXPECT_EQ(app.events[2].delayMs, 1500u);
    EXPECT_EQ(app.events[0].delayMs, 0u);
    EXPECT_EQ(app.events[3].delayMs, 0u);
    EXPECT_EQ(app.events[1].delayMs, 8u);
    EXPECT_FALSE(WriteRowDelay(1, 5)); // a row without positions
    EXPECT_FALSE(WriteRowDelay(3, 5));
    EXPECT_FALSE(WriteRowDelay(NO_ROW, 5));
    EXPECT_EQ(app.events[1].delayMs, 8u);
    EXPECT_TRUE(WriteRowDelay(2, DELAY_MS_MAX));
    EXPECT_EQ(app.events[1].delayMs, DELAY_MS_MAX);
}

TEST_F(EventListTest, DeleteRemovesTheEventsOfTickedRowsOnly) {
    std::vector<MacroEvent> macro;
    for (uint32_t vk = 0; vk < 5; ++vk)
        macro.push_back({Key, 0, 0, 0, vk, vk});
    app.events = macro;
    EXPECT_FALSE(RemoveTickedEvents()); // no rows yet

    app.eventListRows = MakeEventRows(app.events);
    app.eventListRows[3].eventIndices.push_back(42); // positions outside the macro are ignored
    app.rowTicks.assign(5, false);
    EXPECT_TRUE(RemoveTickedEvents());
    EXPECT_EQ(app.events, macro);

    app.rowTicks[1] = app.rowTicks[3] = true;
    EXPECT_TRUE(RemoveTickedEvents());
    ASSERT_EQ(app.events.size(), 3u);
    EXPECT_EQ(app.events[0].vk, 0u);
    EXPECT_EQ(app.events[1].vk, 2u);
    EXPECT_EQ(app.events[2].vk, 4u);

    app.eventListRows = MakeEventRows(app.events);
    app.rowTicks.assign(3, true);
    EXPECT_TRUE(RemoveTickedEvents());
    EXPECT_TRUE(app.events.empty());
    EXPECT_FALSE(RemoveTickedEvents());
}
