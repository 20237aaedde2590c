// The button transitions taken from one raw mouse packet when it reports several at once.
#include "input/RawMouse.h"

#include <gtest/gtest.h>

TEST(RawMouse, DecodeTakesFirstPressAndFirstReleaseInButtonOrder) {
    struct Case {
        uint16_t flags;
        ButtonTransitions expected;
    } cases[] = {
        {0x0003, {0x0001, 0x0002}},              // a fast click: press and release in one packet
        {0x0004 | 0x0001, {0x0001, 0}},          // left before right
        {0x0010 | 0x0004, {0x0004, 0}},          // right before middle
        {0x0040 | 0x0010, {0x0010, 0}},          // middle before X1
        {0x0100 | 0x0040, {0x0040, 0}},          // X1 before X2
        {0x0200 | 0x0080 | 0x0020, {0, 0x0020}}, // the same order for releases
        {0x0400 | 0x0800 | 0x0100 | 0x0008, {0x0100, 0x0008}}, // wheel bits are ignored
        {0x0400, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeRawButtons(c.flags), c.expected) << c.flags;
}

TEST(RawMouse, AMouseButtonHoldOffKeyEndsOnItsOwnRelease) {
    ResetAppState();
    app.holdOffHotkey = {HotkeyMouseButton, 0x0010}; // middle: pressed 0x0010, released 0x0020
    EXPECT_TRUE(IsHoldOffButtonRelease(app, 0x0020));
    EXPECT_FALSE(IsHoldOffButtonRelease(app, 0x0010));
}
