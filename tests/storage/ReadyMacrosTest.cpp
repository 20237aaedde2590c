// Ready macros: the take that swaps the events in and parses the header over the settings of the
// moment, the freshness check, and the memory bound.
#include "storage/ReadyMacros.h"

#include <gtest/gtest.h>

TEST(ReadyMacros, ATakeSwapsInTheEventsOfAnUnchangedFileWithTheHeaderOverTheCurrentSettings) {
    ResetAppState();
    std::vector<MacroEvent> events{{Key, 0, 0, 0, 65, 1}, {Move, 2, 3, 0, 0, 4}};
    ASSERT_TRUE(KeepReadyMacro(3, L"a.kmc", {10, 20},
                               "KORVAMACRO_V1\r\nPLAYMODE 2\r\nOUTPUT Farm\r\nMACRO_COUNT 2\r\n", events));
    MacroFileContents contents;
    contents.speed = 1.5;                                          // not in the header: stays
    EXPECT_FALSE(TakeReadyMacro(3, L"a.kmc", {10, 21}, contents)); // written since
    EXPECT_FALSE(TakeReadyMacro(3, L"b.kmc", {10, 20}, contents));
    EXPECT_FALSE(TakeReadyMacro(2, L"a.kmc", {10, 20}, contents));
    EXPECT_TRUE(contents.events.empty());
    EXPECT_TRUE(TakeReadyMacro(3, L"a.kmc", {10, 20}, contents));
    EXPECT_EQ(contents.events, events);
    EXPECT_EQ(contents.playMode, 2);
    EXPECT_EQ(contents.outputName, L"Farm");
    EXPECT_EQ(contents.speed, 1.5);
    EXPECT_FALSE(TakeReadyMacro(3, L"a.kmc", {10, 20}, contents)); // taken: the slot waits for a new copy
}

TEST(ReadyMacros, AllSlotsTogetherStayWithinTheMemoryBound) {
    ResetAppState();
    std::vector<MacroEvent> big;
    big.reserve(READY_MACROS_BYTES_MAX / sizeof(MacroEvent) - 4); // reserved, never touched
    ASSERT_TRUE(KeepReadyMacro(0, L"big", {}, "", std::move(big)));
    EXPECT_FALSE(KeepReadyMacro(1, L"ten", {}, "", std::vector<MacroEvent>(10)));
    EXPECT_TRUE(KeepReadyMacro(1, L"one", {}, "", std::vector<MacroEvent>(1)));
    EXPECT_FALSE(KeepReadyMacro(2, L"long header", {}, std::string(READY_HEADER_BYTES_MAX + 1, 'x'), {}));
    EXPECT_TRUE(
        KeepReadyMacro(0, L"big again", {}, "", std::vector<MacroEvent>(10))); // a slot's own copy makes room
}
