// Saving and loading profile files through the real Save and Open dialogs under Wine: the exact
// file, the folder test, the overwrite question, the merge and the refresh of the window.
#include "storage/FileIo_win.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileFiles_win.h"
#include "tests/wine/FileDialogAnswer.h"
#include "tests/wine/ProfileTestSupport.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/windows/ProfileWindow_win.h"

#include <gtest/gtest.h>

namespace {

bool SaveWithDialog(const std::wstring& fileName, bool& confirmationSeen) {
    FileDialogAnswer answer;
    StartFileDialogAnswer(answer, fileName);
    bool saved = SaveProfileFile(app.profileWindow);
    EXPECT_TRUE(FinishFileDialogAnswer(answer));
    confirmationSeen = answer.confirmationSeen;
    return saved;
}

bool LoadWithDialog(const std::wstring& fileName) {
    FileDialogAnswer answer;
    StartFileDialogAnswer(answer, fileName);
    bool loaded = LoadProfileFile(app.profileWindow);
    EXPECT_TRUE(FinishFileDialogAnswer(answer));
    return loaded;
}

// Clicks a button of the profile window and answers the dialog it opens.
bool ClickWithDialog(int id, const std::wstring& fileName) {
    FileDialogAnswer answer;
    StartFileDialogAnswer(answer, fileName);
    ClickButton(GetDlgItem(app.profileWindow, id));
    return FinishFileDialogAnswer(answer);
}

void WriteProfileText(const std::wstring& path, const std::string& text) {
    CreateFixedFolders();
    ASSERT_TRUE(WriteFileAtomically(path, text));
}

class ProfileFilesTest : public ::testing::Test {
  protected:
    // Test processes run side by side in one prefix, so each test has a file of its own.
    void SetUp() override {
        window = OpenTestProfileWindow();
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fileName = L"wine_" + std::wstring(test.begin(), test.end());
        saved = L"C:\\KorvaMacro\\Profile_Save\\" + fileName + L".kpf";
        DeleteFileW(saved.c_str());
    }
    void TearDown() override {
        CloseTestWindows();
        DeleteFileW(saved.c_str());
    }
    HWND window = nullptr;
    std::wstring fileName; // without its extension
    std::wstring saved;
};

} // namespace

TEST_F(ProfileFilesTest, SaveWritesTheProfileAndAsksBeforeReplacing) {
    app.profileSlots[2] = {true, {HotkeyKeyboard, 112}, L"Farm"};
    app.profileMacroPaths[2] = L"C:\\KorvaMacro\\Data\\Farm.kmc";
    app.scrollNextHotkey = {HotkeyKeyboard, 34};
    // The "Save" button; the default extension is added to a name typed without one.
    ASSERT_TRUE(ClickWithDialog(ID_PROFILE_SAVE, fileName));
    std::string written = ReadFileBytes(saved);
    EXPECT_EQ(written, WriteProfileFile(CurrentProfile()));
    EXPECT_NE(written.find("\r\nP 2 1 1 112 Farm\r\nMAP 2 C:\\KorvaMacro\\Data\\Farm.kmc\r\n"),
              std::string::npos);

    app.profileSlots[2].name = L"Second";
    bool asked = false;
    ASSERT_TRUE(SaveWithDialog(fileName + L".kpf", asked));
    EXPECT_TRUE(asked) << "the dialog asks before replacing a file";
    EXPECT_NE(ReadFileBytes(saved).find("P 2 1 1 112 Second\r\n"), std::string::npos);
}

TEST_F(ProfileFilesTest, SaveAndLoadOutsideTheProfileFolderDoNothing) {
    CreateDirectoryW(L"C:\\KorvaElsewhere", nullptr);
    const std::wstring outside = L"C:\\KorvaElsewhere\\stray.kpf";
    DeleteFileW(outside.c_str());
    bool asked = false;
    EXPECT_FALSE(SaveWithDialog(outside, asked));
    EXPECT_EQ(GetFileAttributesW(outside.c_str()), INVALID_FILE_ATTRIBUTES);

    WriteProfileText(outside, "KORVAPROFILE_V3\r\nPROFILE_COUNT 10\r\nP 0 1 1 65 Stray\r\n");
    EXPECT_FALSE(LoadWithDialog(outside));
    EXPECT_EQ(app.profileSlots[0].name, L"P1");
    EXPECT_FALSE(app.profileSlots[0].enabled);
    DeleteFileW(outside.c_str());

    EXPECT_FALSE(LoadWithDialog(L"")) << "cancelled";
    EXPECT_FALSE(SaveWithDialog(L"", asked)) << "cancelled";
}

TEST_F(ProfileFilesTest, LoadMergesRefreshesTheWindowAndSwitchesToTheActiveSlot) {
    app.profileSlots[1] = {true, {HotkeyKeyboard, 0x41}, L"Untouched"};
    app.profileMacroPaths[1] = L"C:\\KorvaMacro\\Data\\Untouched.kmc";
    app.scrollPrevHotkey = {HotkeyKeyboard, 0x21};
    RefreshProfileWindow();
    SwitchToProfile(4);
    ASSERT_EQ(WindowText(app.profileHotkeyEdits[4]), L"None");
    WriteProfileText(saved, "KORVAPROFILE_V2\r\nPROFILE_COUNT 10\r\nP 4 1 2 16 Loaded four\r\nMAP 4 \r\n"
                            "SCROLL_NEXT 1 34\r\n");
    ASSERT_TRUE(ClickWithDialog(ID_PROFILE_LOAD, fileName + L".kpf")) << "the \"Add\" button";

    EXPECT_EQ(app.profileSlots[1].name, L"Untouched");
    EXPECT_TRUE(app.profileSlots[1].enabled);
    EXPECT_EQ(app.profileMacroPaths[1], L"C:\\KorvaMacro\\Data\\Untouched.kmc");
    EXPECT_EQ(app.scrollPrevHotkey, (HotkeyBinding{HotkeyKeyboard, 0x21}));
    EXPECT_EQ(app.scrollNextHotkey, (HotkeyBinding{HotkeyKeyboard, 34}));
    EXPECT_EQ(app.profileSlots[4].name, L"Loaded four");
    EXPECT_EQ(app.profileSlots[4].trigger, (HotkeyBinding{HotkeyMouseButton, 16}));

    EXPECT_EQ(WindowText(app.profileNameEdits[4]), L"Loaded four");
    EXPECT_EQ(SendMessageW(app.profileEnableChecks[4], BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_NE(WindowText(app.profileHotkeyEdits[4]), L"None") << "the trigger edit shows the loaded binding";
    EXPECT_EQ(app.activeProfile, 4);
    EXPECT_EQ(WindowText(app.profileLabel), L"P5 - Loaded four");
    EXPECT_EQ(WindowText(app.activeProfileLabel), L"Active profile: Loaded four");
}

TEST_F(ProfileFilesTest, LoadWithoutActiveSlotShowsNoneAndABadFileChangesNothing) {
    SetWindowTextW(app.profileLabel, L"stale");
    WriteProfileText(saved, "KORVAPROFILE_V1\r\nP 0 1 1 65 lost on the second line\r\nP 3 1 1 66 Third\r\n");
    ASSERT_TRUE(LoadWithDialog(fileName + L".kpf"));
    EXPECT_EQ(app.profileSlots[0].name, L"P1");
    EXPECT_EQ(app.profileSlots[3].name, L"Third");
    EXPECT_EQ(app.activeProfile, -1);
    EXPECT_EQ(WindowText(app.profileLabel), L"Profile: None");
    EXPECT_EQ(WindowText(app.activeProfileLabel), L"Active profile: None");

    WriteProfileText(saved, "KORVAPROFILE_V9\r\nPROFILE_COUNT 10\r\nP 3 0 0 0 Gone\r\n");
    EXPECT_FALSE(LoadWithDialog(fileName + L".kpf"));
    EXPECT_EQ(app.profileSlots[3].name, L"Third");
    EXPECT_EQ(WindowText(app.profileNameEdits[3]), L"Third");
}
