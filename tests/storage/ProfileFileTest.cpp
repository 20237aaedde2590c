// The profile file: the exact lines written, the versions read and the merge on reading. Profiles
// are compared by their file text, which the first test pins down byte for byte.
#include "storage/ProfileFile.h"

#include <gtest/gtest.h>

namespace {

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

} // namespace

TEST(ProfileFile, WritesVersionThreeLineByLineAndReadsItBack) {
    ProfileContents profile;
    profile.slots[0] = {true, {HotkeyKeyboard, 112}, L" Farm  caf\u00e9"};
    profile.paths[0] = L"C:\\KorvaMacro\\Data\\Farm.kmc";
    // Unstorable characters and line breaks become "?", so nothing can spill onto a line of its own.
    profile.slots[9] = {false, {-3, 4294967295u}, L"a\u20acb\r\nP 5 1 1 65 x"};
    profile.paths[9] = L"C:\\x\ny";
    profile.scrollPrev = {HotkeyKeyboard, 33};
    profile.scrollNext = {HotkeyMouseButton, 34};
    std::string expected = "KORVAPROFILE_V3\r\nPROFILE_COUNT 10\r\nP 0 1 1 112  Farm  caf\xe9\r\n"
                           "MAP 0 C:\\KorvaMacro\\Data\\Farm.kmc\r\n";
    for (int i = 1; i < 9; ++i)
        expected += "P " + std::to_string(i) + " 0 0 0 \r\nMAP " + std::to_string(i) + " \r\n";
    expected +=
        "P 9 0 -3 4294967295 a?b??P 5 1 1 65 x\r\nMAP 9 C:\\x?y\r\nSCROLL_PREV 1 33\r\nSCROLL_NEXT 2 34\r\n";
    std::string text = WriteProfileFile(profile);
    EXPECT_EQ(text, expected);

    ProfileContents read = SampleProfile(); // every slot line replaces what was there
    ASSERT_TRUE(ReadProfileFile(text, read));
    EXPECT_EQ(WriteProfileFile(read), text);
}

TEST(ProfileFile, ReadsVersionsOneToThreeSkippingTheSecondLineAndRefusesAnythingElse) {
    for (const char* file : {"KORVAPROFILE_V1\r\nP 0 1 1 65 lost\r\nP 1 1 1 65 A\r\n",
                             "KORVAPROFILE_V2\nP 0 1 1 65 lost\nP 1 1 1 65 A\n",
                             "KORVAPROFILE_V3\r\nP 0 1 1 65 lost\r\nP 1 1 1 65 A"}) {
        ProfileContents profile;
        ASSERT_TRUE(ReadProfileFile(file, profile)) << file;
        EXPECT_EQ(profile.slots[0].name, L"") << file;
        EXPECT_EQ(profile.slots[1].name, L"A") << file;
    }
    for (const char* bad :
         {"", "KORVAPROFILE_V4\r\n\r\nP 1 1 1 65 A\r\n", "KORVAPROFILE_V3 \r\n\r\nP 1 1 1 65 A\r\n",
          "\xEF\xBB\xBFKORVAPROFILE_V3\r\n\r\nP 1 1 1 65 A\r\n"}) {
        ProfileContents profile = SampleProfile();
        EXPECT_FALSE(ReadProfileFile(bad, profile)) << bad;
        EXPECT_EQ(WriteProfileFile(profile), WriteProfileFile(SampleProfile()));
    }
}

TEST(ProfileFile, ReadingMergesTheLaterLineWinsAndMissingNumbersCountAsZero) {
    ProfileContents profile = SampleProfile();
    ASSERT_TRUE(ReadProfileFile("KORVAPROFILE_V3\r\nPROFILE_COUNT 10\r\n\r\nP 4 0 1 90 first\r\n"
                                "P 4 1 1 91 second\r\nPROFILE_COUNT 3\r\nUNKNOWN 1 2\r\nP 12 1 1 65 x\r\n"
                                "P -1 1 1 65 x\r\nP 10 1 1 65 x\r\nMAP 12 C:\\x\r\nMAP -1 C:\\x\r\n"
                                "MAP 10 C:\\x\r\nP 3\r\nP 6 1 1 x name\r\nMAP 8 C:/two\r\nSCROLL_NEXT\r\n"
                                "P\t5\t1\t2\t16\tTab\r\nMAP 0 \\\\host\\s\\x.kmc\r\nMAP 1 //host/x\r\n"
                                "MAP 2 \\\\?\\C:\\x\r\nMAP 7 \\/.\\x\r\nMAP 9 \\??\\UNC\\host\\s\\x.kmc\r\n",
                                profile));
    ProfileContents expected = SampleProfile(); // indices above 9 and negative ones change nothing
    expected.slots[4] = {true, {HotkeyKeyboard, 91}, L"second"};
    expected.slots[3] = {};
    expected.slots[6] = {true, {HotkeyKeyboard, 0}, L""};
    expected.slots[5] = {true, {HotkeyMouseButton, 16}, L"\tTab"}; // only a blank separates the name
    expected.paths[8] = L"C:/two";
    // Network and device paths are not followed: the slot falls back to the file of its name.
    expected.paths[0] = expected.paths[1] = expected.paths[2] = expected.paths[7] = expected.paths[9] = L"";
    expected.scrollNext = {};
    EXPECT_EQ(WriteProfileFile(profile), WriteProfileFile(expected));
}
