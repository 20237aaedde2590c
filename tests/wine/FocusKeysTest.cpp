// Tab, Shift+Tab and the arrows of a radio group in the real main window, through the function
// the message loop hands every key to; and the Output box's length.
#include "ui/windows/ControlTable.h"
#include "app/FocusKeys_win.h"
#include "tests/wine/WineTestSupport.h"

TEST(FocusKeys, TabGoesInReadingOrderShiftTabBackAndArrowsCheckTheNextRadioButton) {
    InputTurn turn; // the focus goes with the foreground
    HWND main = CreateTestMainWindow();
    ShowWindow(main, SW_SHOW);
    SetForegroundWindow(main);
    SetFocus(main);
    auto press = [](WPARAM key, BYTE shift = 0) {
        BYTE keys[256] = {};
        keys[VK_SHIFT] = shift;
        SetKeyboardState(keys);
        EXPECT_TRUE(HandleFocusKeys(MSG{GetFocus(), WM_KEYDOWN, key, 0, 0, {}})) << key;
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return GetDlgCtrlID(GetFocus());
    };
    std::vector<int> visited;
    while (visited.size() < 25)
        visited.push_back(press(VK_TAB));
    // A radio group is one stop, its checked button; the hotkey boxes are left out.
    // clang-format off
    EXPECT_EQ(visited, (std::vector<int>{ID_PROFILE, ID_SAVE, ID_LOAD, ID_CLEAR, ID_DEVICE_COMBO, ID_RECORD,
        ID_RECORD_HOTKEY_CLEAR, ID_ONCE, ID_LOOP_COUNT_EDIT, ID_OUTPUT_EDIT, ID_PLAY, ID_PLAY_HOTKEY_CLEAR,
        ID_EVENT_LIST, ID_ALL, ID_HOLD_OFF_HOTKEY_CLEAR, ID_FREE_MOUSE, ID_EYE, ID_PATH_EDITOR, ID_DELAY_EDIT,
        ID_DELAY_SET, ID_SPEED_RESET, ID_SPEED_EDIT, ID_SPEED_SET, ID_DELETE, ID_PROFILE}));
    // clang-format on
    EXPECT_EQ(press(VK_TAB, 0x80), ID_DELETE);
    SetFocus(GetDlgItem(main, ID_LOOP_COUNT_EDIT));
    press(VK_TAB); // an edit box reached by Tab has its text selected, to be typed over
    EXPECT_EQ(SendMessageW(app.outputEdit, EM_GETSEL, 0, 0), MAKELRESULT(0, 15));
    for (int i = 0; i < 300; ++i) // it scrolls and takes as many characters as a file's OUTPUT line holds
        SendMessageW(app.outputEdit, WM_CHAR, L'a' + i % 26, 0);
    EXPECT_EQ(WindowText(app.outputEdit).size(), 254u);
    SetFocus(GetDlgItem(main, ID_ONCE));
    EXPECT_EQ(press(VK_DOWN), ID_LOOP);
    press(VK_TAB, 0x80);
    EXPECT_EQ(press(VK_TAB), ID_LOOP); // the group's stop is its checked button now
    press(VK_UP);
    press(VK_UP);
    EXPECT_EQ(app.playMode, Hold); // round the group
}
