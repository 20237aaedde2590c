// Slot cycling, trigger matching, the macro path of a slot and the label texts.
#include "ui/windows/ProfileSwitching.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

ProfileSlots EnabledSlots(std::initializer_list<int> enabled) {
    ProfileSlots slots;
    for (int slot : enabled)
        slots[static_cast<size_t>(slot)].enabled = true;
    return slots;
}

} // namespace

TEST(ProfileSwitching, CyclingSkipsDisabledSlotsAndWraps) {
    ProfileSlots slots = EnabledSlots({1, 4, 7});
    EXPECT_EQ(NextEnabledSlot(slots, 4), 7);
    EXPECT_EQ(NextEnabledSlot(slots, 7), 1);
    EXPECT_EQ(PreviousEnabledSlot(slots, 1), 7);
    EXPECT_EQ(PreviousEnabledSlot(slots, 7), 4);
    EXPECT_EQ(NextEnabledSlot(slots, 9), 1);
    EXPECT_EQ(PreviousEnabledSlot(slots, 0), 7);
    // An active slot that is not enabled itself is stepped away from like any other.
    EXPECT_EQ(NextEnabledSlot(slots, 5), 7);
    EXPECT_EQ(PreviousEnabledSlot(slots, 5), 4);
}

TEST(ProfileSwitching, WithoutActiveSlotNextTakesTheLowestAndPreviousTheHighest) {
    ProfileSlots slots = EnabledSlots({2, 5, 8});
    EXPECT_EQ(NextEnabledSlot(slots, -1), 2);
    EXPECT_EQ(PreviousEnabledSlot(slots, -1), 8);
    ProfileSlots edges = EnabledSlots({0, 9});
    EXPECT_EQ(NextEnabledSlot(edges, -1), 0);
    EXPECT_EQ(PreviousEnabledSlot(edges, -1), 9);
}

TEST(ProfileSwitching, OnlyTheActiveSlotEnabledGivesItAgainAndNoneGivesNothing) {
    ProfileSlots single = EnabledSlots({6});
    EXPECT_EQ(NextEnabledSlot(single, 6), 6);
    EXPECT_EQ(PreviousEnabledSlot(single, 6), 6);
    ProfileSlots none = EnabledSlots({});
    EXPECT_EQ(NextEnabledSlot(none, 3), -1);
    EXPECT_EQ(PreviousEnabledSlot(none, -1), -1);
}

TEST(ProfileSwitching, TriggerMatchTakesTheLowestEnabledKeyboardSlot) {
    ProfileSlots slots;
    slots[1] = {false, {HotkeyKeyboard, 0x41}, L"off"};
    slots[3] = {true, {HotkeyKeyboard, 0x41}, L"low"};
    slots[5] = {true, {HotkeyKeyboard, 0x41}, L"high"};
    slots[6] = {true, {HotkeyMouseButton, 0x42}, L"mouse"};
    slots[7] = {true, {HotkeyNone, 0x43}, L"unbound"};
    EXPECT_EQ(TriggeredSlot(slots, 0x41), 3);
    EXPECT_EQ(TriggeredSlot(slots, 0x42), -1);
    EXPECT_EQ(TriggeredSlot(slots, 0x43), -1);
    EXPECT_EQ(TriggeredSlot(slots, 0x44), -1);
    slots[3].enabled = false;
    EXPECT_EQ(TriggeredSlot(slots, 0x41), 5);
    EXPECT_EQ(TriggeredSlot(ProfileSlots{}, 0), -1) << "cleared slots never match, not even code 0";
}

TEST(ProfileSwitching, MacroPathIsTheMappedOneOrTheNameInTheMacroFolder) {
    EXPECT_EQ(SlotMacroPath(L"D:\\elsewhere\\x.kmc", L"Farm"), L"D:\\elsewhere\\x.kmc");
    EXPECT_EQ(SlotMacroPath(L"", L"Farm"), L"C:\\KorvaMacro\\Data\\Farm.kmc");
    EXPECT_EQ(SlotMacroPath(L"", L"Farm.KMC"), L"C:\\KorvaMacro\\Data\\Farm.KMC");
    EXPECT_EQ(SlotMacroPath(L"", L"a:b"), L"C:\\KorvaMacro\\Data\\a:b.kmc") << "the name is not sanitised";
    EXPECT_EQ(SlotMacroPath(L"", L""), L"");
}

TEST(ProfileSwitching, NameFromPathIsTheFileNameCutBeforeItsFirstDot) {
    EXPECT_EQ(ProfileNameFromPath(L"C:\\KorvaMacro\\Data\\boss.fight.kmc"), L"boss");
    EXPECT_EQ(ProfileNameFromPath(L"C:\\KorvaMacro\\Data\\plain"), L"plain");
    EXPECT_EQ(ProfileNameFromPath(L"C:\\Korva.Macro\\Data/sub/tune.kmc"), L"tune");
    EXPECT_EQ(ProfileNameFromPath(L"C:\\KorvaMacro\\Data\\.hidden.kmc"), L"");
    EXPECT_EQ(ProfileNameFromPath(L"only name.kmc"), L"only name");
}

TEST(ProfileSwitching, LabelTextsNumberFromOneAndNameTheUnnamed) {
    EXPECT_EQ(SlotNumberText(0), L"P1");
    EXPECT_EQ(SlotNumberText(9), L"P10");
    EXPECT_EQ(ProfileLabelText(2, L"Farm"), L"P3 - Farm");
    EXPECT_EQ(ProfileLabelText(9, L""), L"P10 - (unnamed)");
    EXPECT_EQ(ActiveProfileLabelText(L"Farm"), L"Active profile: Farm");
    EXPECT_EQ(ActiveProfileLabelText(L""), L"Active profile: (unnamed)");
}
