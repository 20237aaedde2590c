// What the windows ask and refuse: the overwrite question naming the file, a delay that is no
// number of seconds, the profile window's Clear; and the Output box's length.
#include "ui/windows/ControlTable.h"
#include "storage/Folders.h"
#include "storage/MacroFiles_win.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/windows/ProfileWindow_win.h"

TEST(Questions, SaveNamesTheFileItWouldReplaceBadDelaysAndProfileClearAreRefusedUnlessConfirmed) {
    HWND window = CreateTestMainWindow();
    // The Output box scrolls and takes as many characters as a file's OUTPUT line holds.
    SetControlText(app.outputEdit, L"");
    for (int i = 0; i < 300; ++i)
        SendMessageW(app.outputEdit, WM_CHAR, L'a' + i % 26, 0);
    EXPECT_EQ(WindowText(app.outputEdit).size(), 254u);
    SetControlText(app.outputEdit, L"questions small");
    std::wstring path = std::wstring(MACRO_FOLDER) + L"\\questions small.kmc";
    DeleteFileW(path.c_str());
    ASSERT_TRUE(SaveMacroByName(window));
    {
        MessageBoxAnswer no(IDNO);
        EXPECT_FALSE(SaveMacroByName(window));
        EXPECT_EQ(no.Text(), path + L" exists. Replace it?");
    }
    DeleteFileW(path.c_str());
    // A delay that is no number of seconds is refused with a message and changes nothing.
    app.events = {{Key, 0, 0, 0, 0x41, 5}};
    app.selectedRow = 0;
    SetControlText(app.delayEdit, L"0x10");
    {
        MessageBoxAnswer ok(IDOK);
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_DELAY_SET, BN_CLICKED), 0);
        EXPECT_NE(ok.Text().find(L"from 0 to 4294967.295"), std::wstring::npos) << ok.Text();
    }
    EXPECT_EQ(app.events[0].delayMs, 5u);
    // The profile window's Clear asks; No keeps the slots.
    app.profileSlots[3] = {true, {HotkeyKeyboard, VK_F9}, L"kept"};
    OpenProfileWindow();
    for (int button : {IDNO, IDYES}) {
        MessageBoxAnswer answer(button);
        SendMessageW(app.profileWindow, WM_COMMAND, MAKEWPARAM(ID_PROFILE_CLEAR, BN_CLICKED), 0);
        EXPECT_EQ(answer.Text(), L"Clear all ten profile slots?");
        EXPECT_EQ(app.profileSlots[3].name, button == IDNO ? L"kept" : L"") << button;
    }
    DestroyWindow(app.profileWindow);
    DestroyTestMainWindow();
}
