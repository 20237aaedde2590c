// The real profile window under Wine: its controls, the macro picker through the real Open
// dialog, trigger and scroll captures, closing, "Clear", and switching between slots.
#include "tests/wine/FileDialogAnswer.h"
#include "tests/wine/ProfileTestSupport.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/windows/Overlay_win.h"
#include "ui/windows/ProfileWindow_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

RECT RectInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void ExpectRect(HWND control, int x, int y, int width, int height) {
    ASSERT_NE(control, nullptr);
    RECT rect = RectInParent(control);
    EXPECT_EQ(rect.left, x);
    EXPECT_EQ(rect.top, y);
    EXPECT_EQ(rect.right - rect.left, width);
    EXPECT_EQ(rect.bottom - rect.top, height);
}

LONG_PTR StyleOf(HWND control) {
    return GetWindowLongPtrW(control, GWL_STYLE);
}

bool Checked(HWND box) {
    return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Clicks the check box of a slot and answers the picker with `fileName` (empty cancels).
bool PickWithDialog(int slot, const std::wstring& fileName) {
    FileDialogAnswer answer;
    StartFileDialogAnswer(answer, fileName);
    ClickButton(app.profileEnableChecks[static_cast<size_t>(slot)]);
    return FinishFileDialogAnswer(answer);
}

void FocusControl(HWND control) {
    SetFocus(control);
    PumpMessages();
}

class ProfileWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { window = OpenTestProfileWindow(); }
    void TearDown() override { CloseTestWindows(); }
    HWND window = nullptr;
};

} // namespace

TEST_F(ProfileWindowTest, WindowIsAnOwnedToolWindowOpenedOnce) {
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), L"Profiles");
    EXPECT_EQ(ClassOf(window), L"KorvaProfileWindow");
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_EQ(StyleOf(window) & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME), WS_CAPTION | WS_SYSMENU);
    EXPECT_EQ(GetWindow(window, GW_OWNER), app.mainWindow);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 370);
    EXPECT_EQ(outer.bottom - outer.top, 340);

    OpenProfileWindow();
    EXPECT_EQ(app.profileWindow, window) << "a second open raises the same window";
    ClickButton(ProfileControl(ID_PROFILE_CLOSE));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app.profileWindow, nullptr);
    EXPECT_EQ(app.activeProfileLabel, nullptr);
    EXPECT_EQ(app.profileNameEdits[0], nullptr);
    EXPECT_EQ(app.scrollNextEdit, nullptr);
    OpenProfileWindow();
    EXPECT_TRUE(IsWindow(app.profileWindow));
    EXPECT_NE(app.profileNameEdits[9], nullptr);
}

TEST_F(ProfileWindowTest, RowsAndBottomRowHaveTheirPlacesIdsAndTexts) {
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(ChildrenOf(window).size(), 1u + 5u * 10u + 8u);
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        int y = 10 + 22 * i;
        HWND check = ProfileControl(ID_PROFILE_ENABLE_FIRST + i);
        HWND name = ProfileControl(ID_PROFILE_NAME_FIRST + i);
        HWND hotkey = ProfileControl(ID_PROFILE_HOTKEY_FIRST + i);
        EXPECT_EQ(check, app.profileEnableChecks[static_cast<size_t>(i)]);
        EXPECT_EQ(name, app.profileNameEdits[static_cast<size_t>(i)]);
        EXPECT_EQ(hotkey, app.profileHotkeyEdits[static_cast<size_t>(i)]);
        ExpectRect(check, 8, y, 20, 18);
        ExpectRect(name, 65, y, 120, 20);
        ExpectRect(hotkey, 220, y, 90, 20);
        EXPECT_EQ(StyleOf(check) & (BS_TYPEMASK | BS_NOTIFY), BS_AUTOCHECKBOX | BS_NOTIFY);
        EXPECT_TRUE(StyleOf(name) & ES_AUTOHSCROLL);
        EXPECT_TRUE(StyleOf(hotkey) & ES_READONLY);
        EXPECT_FALSE(Checked(check));
        EXPECT_EQ(WindowText(name), L"P" + std::to_wstring(i + 1)) << "unnamed slots get default names";
        EXPECT_EQ(app.profileSlots[static_cast<size_t>(i)].name, L"P" + std::to_wstring(i + 1));
        EXPECT_EQ(WindowText(hotkey), L"None");
    }
    struct Expected {
        int id;
        const wchar_t* text;
        int x, y, width, height;
    };
    for (Expected e : {Expected{ID_PROFILE_CLOSE, L"Close", 270, 250, 75, 30},
                       Expected{ID_PROFILE_SAVE, L"Save", 75, 240, 44, 24},
                       Expected{ID_PROFILE_LOAD, L"Add", 130, 240, 44, 24},
                       Expected{ID_PROFILE_CLEAR, L"Clear", 20, 240, 44, 24},
                       Expected{ID_SCROLL_PREV_EDIT, L"None", 190, 250, 24, 22},
                       Expected{ID_SCROLL_NEXT_EDIT, L"None", 215, 250, 24, 22},
                       Expected{ID_SCROLL_CLEAR, L"X", 242, 253, 13, 15}}) {
        SCOPED_TRACE(e.id);
        HWND control = ProfileControl(e.id);
        ExpectRect(control, e.x, e.y, e.width, e.height);
        EXPECT_EQ(WindowText(control), e.text);
        if (e.id < ID_SCROLL_PREV_EDIT || e.id == ID_SCROLL_CLEAR) {
            EXPECT_EQ(StyleOf(control) & BS_TYPEMASK, BS_OWNERDRAW) << "the X button is converted too";
        }
    }
    EXPECT_EQ(WindowText(app.activeProfileLabel), L"Active profile: None");
    ExpectRect(app.activeProfileLabel, 8, 280, 300, 18);
    HFONT gui = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (HWND child : ChildrenOf(window))
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), gui);
}

TEST_F(ProfileWindowTest, PickingAMacroNamesEnablesAndSwitchesToTheSlot) {
    std::wstring path = WriteTestMacro(L"boss.fight.kmc", 3);
    OpenOverlay();
    // Only the file name is typed: the dialog opens in the macro folder.
    ASSERT_TRUE(PickWithDialog(3, L"boss.fight.kmc"));
    EXPECT_EQ(app.profileMacroPaths[3], path);
    EXPECT_EQ(app.profileSlots[3].name, L"boss");
    EXPECT_EQ(WindowText(app.profileNameEdits[3]), L"boss");
    EXPECT_TRUE(app.profileSlots[3].enabled);
    EXPECT_TRUE(Checked(app.profileEnableChecks[3]));
    EXPECT_EQ(app.activeProfile, 3);
    EXPECT_EQ(WindowText(app.profileLabel), L"P4 - boss");
    EXPECT_EQ(WindowText(app.activeProfileLabel), L"Active profile: boss");
    if (app.overlayProfileLabel) {
        EXPECT_EQ(WindowText(app.overlayProfileLabel), L"P4 - boss");
    }
    EXPECT_EQ(app.events.size(), 3u) << "the picked macro is loaded";
    DeleteFileW(path.c_str());
}

TEST_F(ProfileWindowTest, CancellingThePickerDisablesAndForgetsThePathButKeepsNameAndTrigger) {
    app.profileSlots[5] = {true, {HotkeyKeyboard, 0x41}, L"keep"};
    app.profileMacroPaths[5] = L"C:\\KorvaMacro\\Data\\keep.kmc";
    RefreshProfileWindow();
    ASSERT_TRUE(Checked(app.profileEnableChecks[5]));
    ASSERT_TRUE(PickWithDialog(5, L""));
    EXPECT_FALSE(app.profileSlots[5].enabled);
    EXPECT_FALSE(Checked(app.profileEnableChecks[5]));
    EXPECT_EQ(app.profileMacroPaths[5], L"");
    EXPECT_EQ(app.profileSlots[5].name, L"keep");
    EXPECT_EQ(app.profileSlots[5].trigger, (HotkeyBinding{HotkeyKeyboard, 0x41}));
    EXPECT_EQ(app.activeProfile, -1);
}

TEST_F(ProfileWindowTest, AFileOutsideTheMacroFolderIsNotTaken) {
    CreateDirectoryW(L"C:\\KorvaElsewhere", nullptr);
    std::wstring outside = L"C:\\KorvaElsewhere\\stray.kmc";
    HANDLE file = CreateFileW(outside.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    app.profileMacroPaths[1] = L"C:\\KorvaMacro\\Data\\old.kmc";
    ASSERT_TRUE(PickWithDialog(1, outside));
    EXPECT_EQ(app.profileMacroPaths[1], L"C:\\KorvaMacro\\Data\\old.kmc");
    EXPECT_EQ(app.profileSlots[1].name, L"P2");
    EXPECT_FALSE(app.profileSlots[1].enabled);
    EXPECT_TRUE(Checked(app.profileEnableChecks[1])) << "the box keeps the state the click gave it";
    EXPECT_EQ(app.activeProfile, -1);
    DeleteFileW(outside.c_str());
}

TEST_F(ProfileWindowTest, FocusArmsOneCaptureAndUnbindsAtOnce) {
    app.profileSlots[4].trigger = {HotkeyKeyboard, 0x70};
    app.scrollPrevHotkey = {HotkeyKeyboard, 0x21};
    app.scrollNextHotkey = {HotkeyKeyboard, 0x22};
    RefreshProfileWindow();
    FocusControl(app.profileHotkeyEdits[4]);
    EXPECT_EQ(app.profileHotkeyCaptureSlot, 4);
    EXPECT_EQ(app.profileSlots[4].trigger, HotkeyBinding{});
    EXPECT_EQ(WindowText(app.profileHotkeyEdits[4]), L"None");

    FocusControl(app.scrollPrevEdit);
    EXPECT_TRUE(app.scrollPrevCapture);
    EXPECT_FALSE(app.scrollNextCapture);
    EXPECT_EQ(app.profileHotkeyCaptureSlot, -1) << "the key goes to the edit clicked last";
    EXPECT_EQ(app.scrollPrevHotkey, HotkeyBinding{});
    EXPECT_EQ(WindowText(app.scrollPrevEdit), L"None");
    EXPECT_EQ(app.scrollNextHotkey, (HotkeyBinding{HotkeyKeyboard, 0x22}));

    FocusControl(app.scrollNextEdit);
    EXPECT_FALSE(app.scrollPrevCapture);
    EXPECT_TRUE(app.scrollNextCapture);
    EXPECT_EQ(app.scrollNextHotkey, HotkeyBinding{});

    FocusControl(app.profileHotkeyEdits[7]);
    EXPECT_EQ(app.profileHotkeyCaptureSlot, 7);
    EXPECT_FALSE(app.scrollNextCapture);

    app.scrollPrevHotkey = {HotkeyKeyboard, 0x21};
    app.scrollPrevCapture = true;
    ClickButton(ProfileControl(ID_SCROLL_CLEAR));
    EXPECT_EQ(app.scrollPrevHotkey, HotkeyBinding{});
    EXPECT_FALSE(app.scrollPrevCapture);
    EXPECT_FALSE(app.scrollNextCapture);
    EXPECT_EQ(WindowText(app.scrollPrevEdit), L"None");
}

TEST_F(ProfileWindowTest, NameEditLeavingFocusStoresTheName) {
    SetWindowTextW(app.profileNameEdits[6], L"  Typed name ");
    EXPECT_EQ(app.profileSlots[6].name, L"P7");
    FocusControl(app.profileNameEdits[6]);
    FocusControl(app.profileNameEdits[0]);
    EXPECT_EQ(app.profileSlots[6].name, L"  Typed name ");
    std::wstring tooLong(300, L'n');
    SetWindowTextW(app.profileNameEdits[0], tooLong.c_str());
    FocusControl(app.profileNameEdits[1]);
    EXPECT_EQ(app.profileSlots[0].name, std::wstring(254, L'n'));
}

TEST_F(ProfileWindowTest, ClosingByTheTitleBarKeepsRowsAndSwitchesAgainTheCloseButtonDoesNot) {
    SwitchToProfile(2);
    SetWindowTextW(app.profileNameEdits[8], L"Eight");
    SendMessageW(app.profileEnableChecks[8], BM_SETCHECK, BST_CHECKED, 0);
    SetWindowTextW(app.profileNameEdits[2], L"Renamed");
    SendMessageW(window, WM_CLOSE, 0, 0);
    PumpMessages();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app.profileSlots[8].name, L"Eight");
    EXPECT_TRUE(app.profileSlots[8].enabled);
    EXPECT_EQ(app.profileSlots[2].name, L"Renamed");
    EXPECT_EQ(WindowText(app.profileLabel), L"P3 - Renamed");
    EXPECT_EQ(app.activeProfile, 2) << "the active slot outlives the window";

    OpenProfileWindow();
    EXPECT_EQ(WindowText(app.activeProfileLabel), L"Active profile: None");
    EXPECT_TRUE(Checked(app.profileEnableChecks[8]));
    SetWindowTextW(app.profileNameEdits[8], L"Lost");
    SendMessageW(app.profileEnableChecks[8], BM_SETCHECK, BST_UNCHECKED, 0);
    ClickButton(GetDlgItem(app.profileWindow, ID_PROFILE_CLOSE));
    EXPECT_EQ(app.profileWindow, nullptr);
    EXPECT_EQ(app.profileSlots[8].name, L"Eight");
    EXPECT_TRUE(app.profileSlots[8].enabled);
}

TEST_F(ProfileWindowTest, ClearEmptiesEverySlotButKeepsTheScrollKeys) {
    for (size_t i = 0; i < 10; ++i) {
        app.profileSlots[i] = {true, {HotkeyKeyboard, static_cast<uint32_t>(0x41 + i)}, L"n"};
        app.profileMacroPaths[i] = L"C:\\KorvaMacro\\Data\\n.kmc";
    }
    app.scrollPrevHotkey = {HotkeyKeyboard, 0x21};
    RefreshProfileWindow();
    SwitchToProfile(4);
    ClickButton(ProfileControl(ID_PROFILE_CLEAR));
    for (size_t i = 0; i < 10; ++i) {
        SCOPED_TRACE(i);
        EXPECT_FALSE(app.profileSlots[i].enabled);
        EXPECT_EQ(app.profileSlots[i].trigger, HotkeyBinding{});
        EXPECT_EQ(app.profileSlots[i].name, L"");
        EXPECT_EQ(app.profileMacroPaths[i], L"");
        EXPECT_FALSE(Checked(app.profileEnableChecks[i]));
        EXPECT_EQ(WindowText(app.profileNameEdits[i]), L"");
        EXPECT_EQ(WindowText(app.profileHotkeyEdits[i]), L"None");
    }
    EXPECT_EQ(app.activeProfile, -1);
    EXPECT_EQ(WindowText(app.activeProfileLabel), L"Active profile: None");
    EXPECT_EQ(WindowText(app.profileLabel), L"Profile: None");
    EXPECT_EQ(app.scrollPrevHotkey, (HotkeyBinding{HotkeyKeyboard, 0x21}));
}

TEST_F(ProfileWindowTest, SwitchShowsTheSlotAndLoadsOnlyAFileThatExists) {
    ReplaceEvents({MacroEvent{Key, 0, 0, 0, 0x51, 5}});
    ClickButton(ProfileControl(ID_PROFILE_CLEAR));
    SwitchToProfile(6);
    EXPECT_EQ(app.activeProfile, 6);
    EXPECT_EQ(WindowText(app.profileLabel), L"P7 - (unnamed)");
    EXPECT_EQ(WindowText(app.activeProfileLabel), L"Active profile: (unnamed)");
    EXPECT_EQ(app.events.size(), 1u);

    SetWindowTextW(app.profileNameEdits[1], L"NoSuchMacro");
    SwitchToProfile(1);
    EXPECT_EQ(app.profileSlots[1].name, L"NoSuchMacro") << "the switch takes the name from the edit";
    EXPECT_EQ(WindowText(app.profileLabel), L"P2 - NoSuchMacro");
    EXPECT_EQ(app.events.size(), 1u) << "a missing file leaves the macro";

    SwitchToProfile(10);
    SwitchToProfile(-1);
    EXPECT_EQ(app.activeProfile, 1);

    std::wstring farm = WriteTestMacro(L"FarmFallback.kmc", 4);
    SetWindowTextW(app.profileNameEdits[2], L"FarmFallback");
    SwitchToProfile(2);
    EXPECT_EQ(WindowText(app.profileLabel), L"P3 - FarmFallback");
    EXPECT_EQ(app.events.size(), 4u) << "an unmapped slot loads the macro named like it";
    DeleteFileW(farm.c_str());
}
