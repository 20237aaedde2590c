// Binding texts written into a real read-only edit with the system's key names.
#include "input/KeyboardHook_win.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

TEST(ShowHotkeyText, WritesNoneMouseButtonOrTheSystemKeyName) {
    HWND edit =
        CreateWindowExW(0, L"EDIT", L"?", ES_READONLY, 0, 0, 100, 22, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    ShowHotkeyText(edit, {HotkeyKeyboard, 0});
    EXPECT_EQ(WindowText(edit), L"None");
    ShowHotkeyText(edit, {HotkeyMouseButton, 0x0010});
    EXPECT_EQ(WindowText(edit), L"Mouse button");
    ShowHotkeyText(edit, {HotkeyMouseButton, 0});
    EXPECT_EQ(WindowText(edit), L"None");
    ShowHotkeyText(edit, {HotkeyKeyboard, 0x75});
    EXPECT_EQ(WindowText(edit), L"F6");
    ShowHotkeyText(edit, {HotkeyKeyboard, 0x41});
    EXPECT_EQ(WindowText(edit), L"A");
    // Arrow keys are named as arrows, not as the numeric-pad keys that share their scan codes.
    ShowHotkeyText(edit, {HotkeyKeyboard, 0x26});
    EXPECT_EQ(WindowText(edit), L"Up");
    ShowHotkeyText(edit, {HotkeyKeyboard, 0x2E});
    EXPECT_EQ(WindowText(edit), L"Delete");
    ShowHotkeyText(edit, {HotkeyKeyboard, 0x24});
    EXPECT_EQ(WindowText(edit), L"Home");
    // A code the keyboard layout has no key for.
    ShowHotkeyText(edit, {HotkeyKeyboard, 0xFF});
    EXPECT_EQ(WindowText(edit), L"VK 0xFF");
    ShowHotkeyText(nullptr, {HotkeyKeyboard, 0x41}); // no window: nothing happens
    DestroyWindow(edit);
}
