// The hook watchdog on the real window: a hook that Windows removed is put back when raw
// keyboard input shows a key press it did not see, and hotkeys work again.
#include "tests/wine/WineTestSupport.h"

namespace {

void PressKey(WORD vk) {
    INPUT keys[2] = {};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[1].ki.wVk = vk;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

} // namespace

TEST(HookWatchdog, LostHookIsReinstalledAndHotkeysWorkAgain) {
    InputTurn turn;
    HWND window = CreateTestMainWindow(true);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(app.keyboardHook, nullptr);
    // As if Windows had dropped the hook after a slow call: the handle stays, the hook is gone.
    UnhookWindowsHookEx(app.keyboardHook);
    app.lastHookCallTick = 0;
    app.heldModifierKeys = 0xFF; // the releases of the modifiers went by the lost hook

    PressKey('Q'); // unhooked: the press does not reach the program, but raw input reports it
    ASSERT_TRUE(PumpUntil([] { return app.hookReinstallCount > 0; }));
    EXPECT_EQ(app.hookReinstallCount, 1u);
    EXPECT_EQ(app.heldModifierKeys, 0u);

    app.recordHotkeyCapture = true; // the new hook sees the next press and captures it
    PressKey('Q');
    EXPECT_TRUE(PumpUntil([] { return app.recordHotkey == HotkeyBinding{HotkeyKeyboard, 'Q'}; }));
    EXPECT_FALSE(app.recordHotkeyCapture);
    EXPECT_EQ(app.hookReinstallCount, 1u); // a live hook is left alone
    DestroyTestMainWindow();
}
