// Which slot the scroll keys and the trigger keys pick.
#include "ui/windows/ProfileSwitching.h"

#include <gtest/gtest.h>

TEST(ProfileSwitching, CyclingWrapsOverEnabledSlotsAndTheLowestTriggeredSlotWins) {
    ProfileSlots slots;
    slots[0].enabled = slots[4].enabled = slots[9].enabled = true;
    EXPECT_EQ(NextEnabledSlot(slots, 4), 9);
    EXPECT_EQ(NextEnabledSlot(slots, 9), 0);
    EXPECT_EQ(PreviousEnabledSlot(slots, 0), 9);
    EXPECT_EQ(NextEnabledSlot(slots, 5), 9); // an active slot that is not enabled is stepped away from
    EXPECT_EQ(PreviousEnabledSlot(slots, 5), 4);
    EXPECT_EQ(NextEnabledSlot(slots, -1), 0); // no active slot: the lowest, or the highest
    EXPECT_EQ(PreviousEnabledSlot(slots, -1), 9);
    EXPECT_EQ(NextEnabledSlot(ProfileSlots{}, 3), -1);
    EXPECT_EQ(PreviousEnabledSlot(ProfileSlots{}, -1), -1);

    // A trigger key picks the lowest enabled slot that has it as its keyboard trigger.
    slots[1] = {false, {HotkeyKeyboard, 0x41}, L"off"};
    slots[3] = {true, {HotkeyKeyboard, 0x41}, L"low"};
    slots[5] = {true, {HotkeyKeyboard, 0x41}, L"high"};
    slots[6] = {true, {HotkeyMouseButton, 0x42}, L"mouse"};
    EXPECT_EQ(TriggeredSlot(slots, 0x41), 3);
    EXPECT_EQ(TriggeredSlot(slots, 0x42), -1);
    slots[3].enabled = false;
    EXPECT_EQ(TriggeredSlot(slots, 0x41), 5);
    EXPECT_EQ(TriggeredSlot(slots, 0), -1) << "enabled slots without a trigger never match, not even code 0";
}
