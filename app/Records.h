// The records that several parts of the program exchange: macro events, hotkey bindings, the mode
// enumerations, raw devices, path points and profile slots. Plain data, no <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum MacroEventType : int32_t { Move = 0, ButtonDown = 1, ButtonUp = 2, Key = 3 };

struct MacroEvent {
    int32_t type = Move;
    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t button = 0;
    uint32_t vk = 0;
    uint32_t delayMs = 0;

    bool operator==(const MacroEvent&) const = default;
};

// Raw-input button transition flags; a button's release flag is always twice its press flag.
constexpr uint32_t BUTTON_PRESS_FLAGS[5] = {0x0001, 0x0004, 0x0010, 0x0040, 0x0100};
constexpr uint32_t BUTTON_RELEASE_FLAGS[5] = {0x0002, 0x0008, 0x0020, 0x0080, 0x0200};

enum HotkeyKind : int32_t { HotkeyNone = 0, HotkeyKeyboard = 1, HotkeyMouseButton = 2 };

struct HotkeyBinding {
    int32_t kind = HotkeyNone;
    uint32_t code = 0;

    bool operator==(const HotkeyBinding&) const = default;
};

inline bool IsBound(const HotkeyBinding& binding) {
    return binding.kind != 0 && binding.code != 0;
}
inline bool MatchesKey(const HotkeyBinding& binding, uint32_t vk) {
    return binding.kind == HotkeyKeyboard && binding.code == vk;
}
inline bool MatchesMouseButton(const HotkeyBinding& binding, uint32_t pressFlag) {
    return binding.kind == HotkeyMouseButton && binding.code == pressFlag;
}

enum PlayMode : int32_t { Once = 0, Loop = 1, Hold = 2 };
enum MouseMode : int32_t { FreeMouse = 0, CenterMouse = 1, LockMouse = 2 };

struct RawMouseDevice {
    void* handle = nullptr;
    std::wstring name;
};

struct PathPoint {
    double x = 0;
    double y = 0;
};

constexpr int PROFILE_SLOT_COUNT = 10;

struct ProfileSlot {
    bool enabled = false;
    HotkeyBinding trigger;
    std::wstring name;
};

struct EventListRow {
    std::wstring text;
    std::vector<size_t> eventIndices;
};

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;
};

constexpr double SPEED_DEFAULT = 0.6;
constexpr double SPEED_MIN = 0.05;
constexpr double SPEED_MAX = 5.0;
constexpr uint32_t MOUSE_DELAY_FLOOR_MS = 5;
constexpr int32_t MOVE_STEP_LIMIT = 2;
constexpr int EVENT_ROW_HEIGHT = 18;
constexpr size_t NO_ROW = static_cast<size_t>(-1);
constexpr size_t NO_EVENT = static_cast<size_t>(-1);

// Carried in the extra-information field of every record the playback injects.
constexpr uintptr_t INJECTED_INPUT_MARK = 0x4B4F5256;

// The modifiers held when a Key or ButtonDown event was made, above the 16 bits of its key code.
// Readers that take only the low 16 bits of a Key's vk still see the plain key.
constexpr uint32_t MODIFIER_SHIFT = 0x10000;
constexpr uint32_t MODIFIER_CTRL = 0x20000;
constexpr uint32_t MODIFIER_ALT = 0x40000;
constexpr uint32_t MODIFIER_WIN = 0x80000;
constexpr uint32_t MODIFIER_BITS = 0xF0000;
constexpr uint32_t KEY_CODE_BITS = 0xFFFF;
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

constexpr uint32_t VK_F4_KEY = 0x73;
constexpr uint32_t VK_F8_KEY = 0x77;
