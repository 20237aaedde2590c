// Texts of hotkey bindings, and which keys need the extended bit to get their own names.
#include "input/KeyNames.h"

#include <gtest/gtest.h>

TEST(KeyNames, UnboundMouseNamedAndUnnamedKeyTexts) {
    EXPECT_EQ(HotkeyText({HotkeyKeyboard, 0}, L"Esc"), L"None");
    EXPECT_EQ(HotkeyText({HotkeyMouseButton, 0}, L""), L"None");
    EXPECT_EQ(HotkeyText({HotkeyMouseButton, 0x0100}, L""), L"Mouse button");
    EXPECT_EQ(HotkeyText({HotkeyKeyboard, 0x75}, L"F6"), L"F6");
    // No system name: the code in upper-case hexadecimal, at least two digits.
    EXPECT_EQ(HotkeyText({HotkeyKeyboard, 0x7}, L""), L"VK 0x07");
    EXPECT_EQ(VirtualKeyText(0x1C3), L"VK 0x1C3");
}

TEST(KeyNames, NavigationKeysAreExtendedAndNumericPadKeysAreNot) {
    // Arrows, Home, Delete and the like share scan codes with the numeric pad.
    for (uint32_t vk : {0x21u, 0x24u, 0x25u, 0x28u, 0x2Du, 0x2Eu, 0x6Fu, 0x90u, 0xA3u, 0xA5u})
        EXPECT_TRUE(IsExtendedKey(vk)) << vk;
    for (uint32_t vk : {0x41u, 0x60u, 0x68u, 0x6Au, 0xA2u, 0xA4u, 0x0Du})
        EXPECT_FALSE(IsExtendedKey(vk)) << vk;
}
