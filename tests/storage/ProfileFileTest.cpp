// The profile file: exact lines written, the version rules and the merge on reading.
#include "storage/ProfileFile.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

ProfileContents SampleProfile() {
    ProfileContents profile;
    for (size_t i = 0; i < PROFILE_SLOT_COUNT; ++i) {
        profile.slots[i] = {
            i % 2 == 0, {HotkeyKeyboard, static_cast<uint32_t>(0x70 + i)}, L"slot" + std::to_wstring(i)};
        profile.paths[i] = L"C:\\KorvaMacro\\Data\\m" + std::to_wstring(i) + L".kmc";
    }
    profile.scrollPrev = {HotkeyKeyboard, 33};
    profile.scrollNext = {HotkeyMouseButton, 0x10};
    return profile;
}

void ExpectSameProfile(const ProfileContents& a, const ProfileContents& b) {
    for (size_t i = 0; i < PROFILE_SLOT_COUNT; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(a.slots[i].enabled, b.slots[i].enabled);
        EXPECT_EQ(a.slots[i].trigger, b.slots[i].trigger);
        EXPECT_EQ(a.slots[i].name, b.slots[i].name);
        EXPECT_EQ(a.paths[i], b.paths[i]);
    }
    EXPECT_EQ(a.scrollPrev, b.scrollPrev);
    EXPECT_EQ(a.scrollNext, b.scrollNext);
}

} // namespace

TEST(ProfileFile, EmptyProfileWritesTwentySlotLinesEachEndingInABlank) {
    std::vector<std::string> lines = Lines(WriteProfileFile(ProfileContents{}));
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[0], "KORVAPROFILE_V3");
    EXPECT_EQ(lines[1], "PROFILE_COUNT 10");
    for (size_t i = 0; i < 10; ++i) {
        EXPECT_EQ(lines[2 + 2 * i], "P " + std::to_string(i) + " 0 0 0 ");
        EXPECT_EQ(lines[3 + 2 * i], "MAP " + std::to_string(i) + " ");
    }
    EXPECT_EQ(lines[22], "SCROLL_PREV 0 0");
    EXPECT_EQ(lines[23], "SCROLL_NEXT 0 0");
}

TEST(ProfileFile, SlotLinesCarryEnabledTriggerNameAndPathExactly) {
    ProfileContents profile;
    profile.slots[2] = {true, {HotkeyKeyboard, 112}, L"Farm"};
    profile.paths[2] = L"C:\\KorvaMacro\\Data\\Farm.kmc";
    profile.slots[9] = {false, {-3, 4294967295u}, L""};
    profile.scrollNext = {HotkeyKeyboard, 34};
    std::vector<std::string> lines = Lines(WriteProfileFile(profile));
    ASSERT_EQ(lines.size(), 24u);
    EXPECT_EQ(lines[6], "P 2 1 1 112 Farm");
    EXPECT_EQ(lines[7], "MAP 2 C:\\KorvaMacro\\Data\\Farm.kmc");
    EXPECT_EQ(lines[20], "P 9 0 -3 4294967295 ");
    EXPECT_EQ(lines[23], "SCROLL_NEXT 1 34");
}

TEST(ProfileFile, RoundTripKeepsEveryFieldAndBlanksInNames) {
    ProfileContents written = SampleProfile();
    written.slots[3].name = L" lead  inner trail  ";
    written.slots[4].name = L"caf\u00e9";
    written.paths[5] = L"C:\\KorvaMacro\\Data\\with space .kmc";
    ProfileContents read;
    ASSERT_TRUE(ReadProfileFile(WriteProfileFile(written), read));
    ExpectSameProfile(read, written);
}

TEST(ProfileFile, UnstorableCharactersAndLineBreaksBecomeQuestionMarksAndTheFileStaysWhole) {
    ProfileContents written;
    written.slots[0].name = L"a\u20acb";
    written.slots[1].name = L"two\r\nP 5 1 1 65 injected";
    written.paths[1] = L"C:\\x\ny";
    std::string text = WriteProfileFile(written);
    EXPECT_EQ(Lines(text).size(), 24u);
    ProfileContents read;
    ASSERT_TRUE(ReadProfileFile(text, read));
    EXPECT_EQ(read.slots[0].name, L"a?b");
    EXPECT_EQ(read.slots[1].name, L"two??P 5 1 1 65 injected");
    EXPECT_EQ(read.paths[1], L"C:\\x?y");
    EXPECT_FALSE(read.slots[5].enabled);
}

TEST(ProfileFile, AllThreeMagicsAreReadAndAnythingElseChangesNothing) {
    for (const char* magic : {"KORVAPROFILE_V1", "KORVAPROFILE_V2", "KORVAPROFILE_V3"}) {
        ProfileContents profile;
        ASSERT_TRUE(
            ReadProfileFile(std::string(magic) + "\r\nPROFILE_COUNT 10\r\nP 1 1 1 65 A\r\n", profile));
        EXPECT_EQ(profile.slots[1].name, L"A") << magic;
    }
    ProfileContents lfOnly;
    EXPECT_TRUE(ReadProfileFile("KORVAPROFILE_V3\nX\nP 0 1 1 66 lf\n", lfOnly));
    EXPECT_EQ(lfOnly.slots[0].name, L"lf");

    for (const char* bad :
         {"", "KORVAPROFILE_V4\r\n\r\nP 1 1 1 65 A\r\n", "korvaprofile_v3\r\n\r\nP 1 1 1 65 A\r\n",
          "KORVAPROFILE_V3 \r\n\r\nP 1 1 1 65 A\r\n", "\xEF\xBB\xBFKORVAPROFILE_V3\r\n\r\nP 1 1 1 65 A\r\n",
          "KORVAMACRO_V1\r\n\r\nP 1 1 1 65 A\r\n"}) {
        ProfileContents profile = SampleProfile();
        EXPECT_FALSE(ReadProfileFile(bad, profile)) << bad;
        ExpectSameProfile(profile, SampleProfile());
    }
}

TEST(ProfileFile, SecondLineIsAlwaysSkipped) {
    ProfileContents onSecond;
    ASSERT_TRUE(ReadProfileFile("KORVAPROFILE_V1\r\nP 0 1 1 65 lost\r\n", onSecond));
    EXPECT_FALSE(onSecond.slots[0].enabled);
    EXPECT_EQ(onSecond.slots[0].name, L"");
    ProfileContents onThird;
    ASSERT_TRUE(ReadProfileFile("KORVAPROFILE_V1\r\nPROFILE_COUNT 10\r\nP 0 1 1 65 kept\r\n", onThird));
    EXPECT_TRUE(onThird.slots[0].enabled);
    EXPECT_EQ(onThird.slots[0].name, L"kept");
}

TEST(ProfileFile, ReadingMergesAndTheLaterLineWins) {
    ProfileContents profile = SampleProfile();
    ASSERT_TRUE(ReadProfileFile("KORVAPROFILE_V3\r\nPROFILE_COUNT 10\r\n\r\nP 4 0 1 90 first\r\n"
                                "P 4 1 1 91 second\r\nPROFILE_COUNT 3\r\nUNKNOWN 1 2\r\n",
                                profile));
    ProfileContents expected = SampleProfile();
    expected.slots[4] = {true, {HotkeyKeyboard, 91}, L"second"};
    ExpectSameProfile(profile, expected);

    ProfileContents onlyHeader = SampleProfile();
    ASSERT_TRUE(ReadProfileFile("KORVAPROFILE_V3\r\nPROFILE_COUNT 10\r\n", onlyHeader));
    ExpectSameProfile(onlyHeader, SampleProfile());
}

TEST(ProfileFile, IndicesOutsideTheTableAreIgnored) {
    ProfileContents profile = SampleProfile();
    ASSERT_TRUE(ReadProfileFile("KORVAPROFILE_V3\r\n\r\nP 12 1 1 65 x\r\nP -1 1 1 65 x\r\nP 10 1 1 65 x\r\n"
                                "MAP 12 C:\\x\r\nMAP -1 C:\\x\r\nMAP 10 C:\\x\r\n",
                                profile));
    ExpectSameProfile(profile, SampleProfile());
}

TEST(ProfileFile, MissingNumbersCountAsZeroAndEmptyTheRest) {
    ProfileContents profile = SampleProfile();
    ASSERT_TRUE(
        ReadProfileFile("KORVAPROFILE_V3\r\n\r\nP 3\r\nP 6 1 1 x name\r\nMAP\r\nMAP 7\r\nMAP 8  two\r\n"
                        "SCROLL_PREV 1\r\nSCROLL_NEXT\r\nP\t5\t1\t2\t16\tTab\r\n",
                        profile));
    EXPECT_EQ(profile.slots[3].enabled, false);
    EXPECT_EQ(profile.slots[3].trigger, HotkeyBinding{});
    EXPECT_EQ(profile.slots[3].name, L"");
    EXPECT_EQ(profile.slots[6].enabled, true);
    EXPECT_EQ(profile.slots[6].trigger, (HotkeyBinding{HotkeyKeyboard, 0}));
    EXPECT_EQ(profile.slots[6].name, L"");
    EXPECT_EQ(profile.paths[0], L"") << "a MAP line without a number applies to slot 0";
    EXPECT_EQ(profile.paths[7], L"");
    EXPECT_EQ(profile.paths[8], L" two");
    EXPECT_EQ(profile.scrollPrev, (HotkeyBinding{HotkeyKeyboard, 0}));
    EXPECT_EQ(profile.scrollNext, HotkeyBinding{});
    EXPECT_EQ(profile.slots[5].trigger, (HotkeyBinding{HotkeyMouseButton, 16}));
    EXPECT_EQ(profile.slots[5].name, L"\tTab") << "only a blank is taken as the separator";
}
