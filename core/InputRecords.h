// What the input side exchanges with the rest: hotkey bindings, raw mouse devices, button
// transition flags, the mark on injected input and the modifier keys. Plain data, no <windows.h>.
#pragma once

#include "core/MacroRecords.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Raw-input button transition flags; a button's release flag is always twice its press flag.
constexpr uint32_t BUTTON_PRESS_FLAGS[5] = {0x0001, 0x0004, 0x0010, 0x0040, 0x0100};
constexpr uint32_t BUTTON_RELEASE_FLAGS[5] = {0x0002, 0x0008, 0x0020, 0x0080, 0x0200};

enum HotkeyKind : int32_t { HotkeyNone = 0, HotkeyKeyboard = 1, HotkeyMouseButton = 2 };

// A keyboard binding's code is its key, with the modifiers of a chord above the key's 16 bits as
// in a Key event (Ctrl+Q is 0x51 | MODIFIER_CTRL); a mouse binding's is the button's press flag.
struct HotkeyBinding {
    int32_t kind = HotkeyNone;
    uint32_t code = 0;

    bool operator==(const HotkeyBinding&) const = default;
};

inline bool IsBound(const HotkeyBinding& binding) {
    return binding.kind != 0 && binding.code != 0;
}
// `code` is a press as the keyboard hook sees it: the key, with the held modifiers when they make
// it a bound chord.
inline bool MatchesKey(const HotkeyBinding& binding, uint32_t code) {
    return binding.kind == HotkeyKeyboard && binding.code == code;
}
// A chord ends with the release of its key, whichever modifiers are still held.
inline bool ReleasesKey(const HotkeyBinding& binding, uint32_t vk) {
    return binding.kind == HotkeyKeyboard && binding.code != 0 && (binding.code & KEY_CODE_BITS) == vk;
}
// The left button is never a hotkey: it is how the user moves the focus and clicks X to unbind.
inline bool IsMouseHotkey(const HotkeyBinding& binding) {
    return binding.kind == HotkeyMouseButton && binding.code != 0 && binding.code != BUTTON_PRESS_FLAGS[0];
}
inline bool MatchesMouseButton(const HotkeyBinding& binding, uint32_t pressFlag) {
    return IsMouseHotkey(binding) && binding.code == pressFlag;
}
inline bool ReleasesMouseButton(const HotkeyBinding& binding, uint32_t releaseFlag) {
    return IsMouseHotkey(binding) && binding.code * 2 == releaseFlag;
}

struct RawMouseDevice {
    void* handle = nullptr;
    std::wstring name;
};

// Carried in the extra-information field of every record the playback injects.
constexpr uintptr_t INJECTED_INPUT_MARK = 0x4B4F5256;

constexpr int MODIFIER_KEY_SLOTS = 8;

// A modifier key's slot in a mask of held modifier keys: left and right apart, two slots per
// modifier in the order Shift, Ctrl, Alt, Win; -1 for other keys. The low-level hook reports the
// sided codes (AltGr as left Ctrl and right Alt); the generic codes count as the left key.
inline int ModifierKeySlot(uint32_t vk) {
    switch (vk) {
    case 0x10:
    case 0xA0:
        return 0;
    case 0xA1:
        return 1;
    case 0x11:
    case 0xA2:
        return 2;
    case 0xA3:
        return 3;
    case 0x12:
    case 0xA4:
        return 4;
    case 0xA5:
        return 5;
    case 0x5B:
        return 6;
    case 0x5C:
        return 7;
    default:
        return -1;
    }
}
// The modifier bits of a mask of held modifier keys.
inline uint32_t ModifiersOfHeldKeys(uint32_t heldKeys) {
    uint32_t bits = 0;
    for (int modifier = 0; modifier < 4; ++modifier) {
        if ((heldKeys >> (2 * modifier)) & 3) bits |= MODIFIER_SHIFT << modifier;
    }
    return bits;
}

constexpr uint32_t VK_ESCAPE_KEY = 0x1B;
constexpr uint32_t VK_F4_KEY = 0x73;
constexpr uint32_t VK_F8_KEY = 0x77;
