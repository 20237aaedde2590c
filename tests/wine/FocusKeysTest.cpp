// Tab, Shift+Tab and the arrows of a radio group in the real main window, through the function
// the message loop hands every key to.
#include "app/ControlTable.h"
#include "app/FocusKeys_win.h"
#include "tests/wine/WineTestSupport.h"

#include <vector>

namespace {

int FocusId() {
    return GetDlgCtrlID(GetFocus());
}

void Press(WPARAM key, bool shift = false) {
    BYTE keys[256] = {};
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {}};
    EXPECT_TRUE(HandleFocusKeys(message)) << key;
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

} // namespace

TEST(FocusKeys, TabGoesInReadingOrderShiftTabBackAndArrowsCheckTheNextRadioButton) {
    InputTurn turn; // the focus goes with the foreground
    HWND main = CreateTestMainWindow();
    ShowWindow(main, SW_SHOW);
    SetForegroundWindow(main);
    SetFocus(main);
    std::vector<int> visited;
    for (int i = 0; i < 25; ++i) {
        Press(VK_TAB);
        visited.push_back(FocusId());
    }
    // A radio group is one stop, its checked button; the hotkey boxes are left out.
    const std::vector<int> readingOrder = {ID_PROFILE,
                                           ID_SAVE,
                                           ID_LOAD,
                                           ID_CLEAR,
                                           ID_DEVICE_COMBO,
                                           ID_RECORD,
                                           ID_RECORD_HOTKEY_CLEAR,
                                           ID_ONCE,
                                           ID_LOOP_COUNT_EDIT,
                                           ID_OUTPUT_EDIT,
                                           ID_PLAY,
                                           ID_PLAY_HOTKEY_CLEAR,
                                           ID_EVENT_LIST,
                                           ID_ALL,
                                           ID_HOLD_OFF_HOTKEY_CLEAR,
                                           ID_FREE_MOUSE,
                                           ID_EYE,
                                           ID_PATH_EDITOR,
                                           ID_DELAY_EDIT,
                                           ID_DELAY_SET,
                                           ID_SPEED_RESET,
                                           ID_SPEED_EDIT,
                                           ID_SPEED_SET,
                                           ID_DELETE,
                                           ID_PROFILE};
    EXPECT_EQ(visited, readingOrder);
    Press(VK_TAB, true);
    EXPECT_EQ(FocusId(), ID_DELETE);
    // An edit box reached by Tab has its text selected, to be typed over.
    SetFocus(GetDlgItem(main, ID_LOOP_COUNT_EDIT));
    Press(VK_TAB);
    EXPECT_EQ(SendMessageW(app.outputEdit, EM_GETSEL, 0, 0), MAKELRESULT(0, 15));
    SetFocus(GetDlgItem(main, ID_ONCE));
    Press(VK_DOWN);
    EXPECT_EQ(FocusId(), ID_LOOP);
    EXPECT_EQ(app.playMode, Loop);
    Press(VK_TAB, true);
    Press(VK_TAB);
    EXPECT_EQ(FocusId(), ID_LOOP); // the group's stop is its checked button now
    Press(VK_UP);
    Press(VK_UP);
    EXPECT_EQ(app.playMode, Hold); // round the group
    DestroyTestMainWindow();
}
