// The real main window under Wine: its controls, "Clear", hotkey-edit focus, timer 1.
#include "app/ControlTable.h"
#include "app/MainWindow_win.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Bits the controls themselves change after creation: an edit draws its border itself and drops
// WS_BORDER (Wine), a list box shows WS_VSCROLL only while it scrolls, and a checked radio button
// gets WS_TABSTOP.
uint32_t SystemAdjustedStyleBits(HWND control) {
    std::wstring name = ClassOf(control);
    if (_wcsicmp(name.c_str(), L"Edit") == 0) return WS_BORDER;
    if (_wcsicmp(name.c_str(), L"ListBox") == 0) return WS_VSCROLL;
    if (_wcsicmp(name.c_str(), L"Button") == 0) return WS_TABSTOP;
    return 0;
}

RECT ClientRectInParent(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override { window = CreateTestMainWindow(); }
    void TearDown() override { DestroyTestMainWindow(); }
    HWND window = nullptr;
};

} // namespace

TEST_F(MainWindowTest, WindowHasTitleClassAndOuterSize) {
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), L"KorvaMacro");
    EXPECT_EQ(ClassOf(window), L"RawMouseMapperDemo");
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 650);
    EXPECT_EQ(outer.bottom - outer.top, 362);
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
}

TEST_F(MainWindowTest, ControlsExistInCreationOrderWithClassTextRectIdAndStyle) {
    InputTurn turn; // this test looks at the real keyboard hook
    window = CreateTestMainWindow(true);
    auto children = ChildrenOf(window);
    auto table = MainControlTable();
    ASSERT_EQ(children.size(), table.size());
    for (size_t i = 0; i < table.size(); ++i) {
        const ControlSpec& entry = table[i];
        HWND child = children[i];
        SCOPED_TRACE(testing::Message() << "control " << i + 1);
        EXPECT_EQ(_wcsicmp(ClassOf(child).c_str(), entry.className), 0);
        EXPECT_EQ(GetDlgCtrlID(child), entry.id);
        RECT rect = ClientRectInParent(child);
        EXPECT_EQ(rect.left, entry.x);
        EXPECT_EQ(rect.top, entry.y);
        EXPECT_EQ(rect.right - rect.left, entry.width);
        // A drop-down list's window is as tall as its closed box, not the height it was created with.
        if (entry.id != ID_DEVICE_COMBO) {
            EXPECT_EQ(rect.bottom - rect.top, entry.height);
        }
        uint32_t style = static_cast<uint32_t>(GetWindowLongPtrW(child, GWL_STYLE));
        uint32_t expected = entry.id == ID_EYE ? (entry.style | BS_OWNERDRAW_STYLE) : entry.style;
        uint32_t systemBits = SystemAdjustedStyleBits(child);
        EXPECT_EQ(style & ~systemBits, expected & ~systemBits) << std::hex << style;
        EXPECT_EQ(GetWindowLongPtrW(child, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);
        if (entry.handle) {
            EXPECT_EQ(app.*entry.handle, child);
        }
    }
    // Texts that creation writes into the controls.
    EXPECT_EQ(WindowText(children[0]), L"X: 0  Y: 0");
    EXPECT_EQ(WindowText(children[8]), L"Virtual Mouse 1");
    EXPECT_EQ(WindowText(children[23]), L"None");
    EXPECT_EQ(WindowText(children[33]), L"0.600");
    EXPECT_EQ(WindowText(children[10]), L"Record");
    EXPECT_EQ(WindowText(children[11]), L"Play");
    // The eye button became owner-drawn; the check box and radios did not.
    EXPECT_EQ(GetWindowLongPtrW(ControlById(ID_EYE), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_EQ(GetWindowLongPtrW(ControlById(ID_ALL), GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
    EXPECT_EQ(GetWindowLongPtrW(ControlById(ID_LOOP), GWL_STYLE) & BS_TYPEMASK, BS_AUTORADIOBUTTON);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_ONCE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_FREE_MOUSE), BST_CHECKED);
    EXPECT_NE(app.keyboardHook, nullptr);
}

TEST_F(MainWindowTest, RadioButtonsSetTheModes) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_HOLD, BN_CLICKED), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOCK_MOUSE, BN_CLICKED), 0);
    EXPECT_EQ(app.playMode.load(), Hold);
    EXPECT_EQ(app.mouseMode.load(), LockMouse);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_HOLD), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_ONCE), BST_UNCHECKED);
    // Another notification code does nothing.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOOP, BN_DOUBLECLICKED), 0);
    EXPECT_EQ(app.playMode.load(), Hold);
}

TEST_F(MainWindowTest, ClearResetsMacroAndSettingsButNotSwitchesOrDevice) {
    app.events = {MacroEvent{Move, 1, 2, 0, 0, 0}};
    SetWindowTextW(app.outputEdit, L"Farm");
    app.recordHotkey = {HotkeyKeyboard, 0x75};
    app.playHotkey = {HotkeyMouseButton, 0x4};
    app.holdOffHotkey = {HotkeyKeyboard, 0x20};
    app.recordHotkeyCapture = app.playHotkeyCapture = app.holdOffHotkeyCapture = true;
    app.holdStateOn = false;
    SendMessageW(app.allCheckbox, BM_SETCHECK, BST_CHECKED, 0);
    SetWindowTextW(app.delayEdit, L"1.5");
    SetWindowTextW(app.coordLabel, L"X: 4  Y: 4");
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOOP, BN_CLICKED), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_CENTER_MOUSE, BN_CLICKED), 0);
    app.speed = 2.0;
    app.masterEnabled = false;
    app.deviceIndex = 3;
    app.recording = true;
    app.playing = true;

    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_CLEAR, BN_CLICKED), 0);

    EXPECT_TRUE(app.events.empty());
    EXPECT_EQ(WindowText(app.outputEdit), L"(Virtual Mouse 1)");
    EXPECT_FALSE(IsBound(app.recordHotkey) || IsBound(app.playHotkey) || IsBound(app.holdOffHotkey));
    EXPECT_FALSE(app.recordHotkeyCapture || app.playHotkeyCapture || app.holdOffHotkeyCapture);
    EXPECT_EQ(WindowText(app.recordHotkeyEdit), L"None");
    EXPECT_EQ(WindowText(app.playHotkeyEdit), L"None");
    EXPECT_EQ(WindowText(app.holdOffHotkeyEdit), L"None");
    EXPECT_TRUE(app.holdStateOn);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"ON");
    EXPECT_EQ(SendMessageW(app.allCheckbox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(WindowText(app.delayEdit), L"");
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 0  Y: 0");
    EXPECT_EQ(app.playMode.load(), Once);
    EXPECT_EQ(app.mouseMode.load(), FreeMouse);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_ONCE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_FREE_MOUSE), BST_CHECKED);
    EXPECT_DOUBLE_EQ(app.speed.load(), 0.6);
    EXPECT_EQ(WindowText(app.speedEdit), L"0.600");
    // Left alone.
    EXPECT_FALSE(app.masterEnabled);
    EXPECT_EQ(app.deviceIndex, 3);
    EXPECT_TRUE(app.recording);
    EXPECT_TRUE(app.playing);
    app.recording = app.playing = false;
}

TEST_F(MainWindowTest, FocusingAHotkeyEditUnbindsItAtOnce) {
    app.recordHotkey = {HotkeyKeyboard, 0x75};
    app.playHotkeyCapture = true;
    SetWindowTextW(app.recordHotkeyEdit, L"F6");
    SetFocus(app.recordHotkeyEdit);
    PumpMessages();
    EXPECT_TRUE(app.recordHotkeyCapture);
    EXPECT_FALSE(app.playHotkeyCapture);
    EXPECT_FALSE(IsBound(app.recordHotkey));
    EXPECT_EQ(WindowText(app.recordHotkeyEdit), L"None");

    app.holdOffHotkey = {HotkeyMouseButton, 0x10};
    SetFocus(app.holdOffHotkeyEdit);
    PumpMessages();
    EXPECT_TRUE(app.holdOffHotkeyCapture);
    EXPECT_TRUE(app.recordHotkeyCapture); // the hold-off edit leaves the other captures armed
    EXPECT_FALSE(IsBound(app.holdOffHotkey));

    // The "X" beside the hold-off edit also puts the hold state back on.
    app.holdStateOn = false;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_HOLD_OFF_HOTKEY_CLEAR, BN_CLICKED), 0);
    EXPECT_FALSE(app.holdOffHotkeyCapture);
    EXPECT_TRUE(app.holdStateOn);
    EXPECT_EQ(WindowText(app.holdStateLabel), L"ON");
}

TEST_F(MainWindowTest, CoordinateLabelDropsToZeroOnlyAfterEightyMsWithoutPackets) {
    app.clock = FakeClock;
    fakeNowMs = 10'000;
    app.lastRawDx = 7;
    app.lastRawDy = -2;
    app.lastRawInputTick = fakeNowMs;
    SetWindowTextW(app.coordLabel, L"X: 7  Y: -2");

    fakeNowMs += 80;
    SendMessageW(window, WM_TIMER, COORD_TIMER_ID, 0);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 7  Y: -2");

    SendMessageW(window, WM_TIMER, 2, 0); // another timer ID does nothing
    fakeNowMs += 1;
    SendMessageW(window, WM_TIMER, 2, 0);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 7  Y: -2");

    SendMessageW(window, WM_TIMER, COORD_TIMER_ID, 0);
    EXPECT_EQ(WindowText(app.coordLabel), L"X: 0  Y: 0");
    EXPECT_EQ(app.lastRawDx, 0);
    EXPECT_EQ(app.lastRawDy, 0);
}

TEST_F(MainWindowTest, ClosingTheWindowRemovesHookAndPostsQuit) {
    InputTurn turn;
    window = CreateTestMainWindow(true);
    EXPECT_NE(app.keyboardHook, nullptr);
    DestroyWindow(window);
    EXPECT_EQ(app.keyboardHook, nullptr);
    MSG message;
    bool quit = false;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) quit = message.wParam == 0;
    }
    EXPECT_TRUE(quit);
    app.mainWindow = nullptr;
}
