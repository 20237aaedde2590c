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

// Carried in the extra-information field of every record the playback injects.
constexpr uintptr_t INJECTED_INPUT_MARK = 0x4B4F5256;

constexpr uint32_t VK_F4_KEY = 0x73;
constexpr uint32_t VK_F8_KEY = 0x77;
