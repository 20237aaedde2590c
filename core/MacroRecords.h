// The macro as plain data: its events and their flags, the playback modes, path points and the
// limits that recording and playback share. No <windows.h>.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Types from 4 on are newer than the first macro files; readers that do not know one list it as
// "Event" and only wait its delay.
enum MacroEventType : int32_t {
    Move = 0,
    ButtonDown = 1,
    ButtonUp = 2,
    Key = 3,
    Wheel = 4,
    KeyUp = 5,
    Wait = 6
};

struct MacroEvent {
    int32_t type = Move;
    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t button = 0;
    uint32_t vk = 0;
    uint32_t delayMs = 0;

    bool operator==(const MacroEvent&) const = default;
};

enum PlayMode : int32_t { Once = 0, Loop = 1, Hold = 2 };
enum MouseMode : int32_t { FreeMouse = 0, CenterMouse = 1, LockMouse = 2, ScreenMouse = 3 };

struct PathPoint {
    double x = 0;
    double y = 0;
};

struct ScreenPoint {
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const ScreenPoint&) const = default;
};

constexpr double SPEED_DEFAULT = 0.6;
constexpr double SPEED_MIN = 0.05;
constexpr double SPEED_MAX = 5.0;
constexpr uint32_t MOUSE_DELAY_FLOOR_MS = 5;
constexpr int32_t MOVE_STEP_LIMIT = 2;
constexpr int EVENT_ROW_HEIGHT = 18;
constexpr size_t NO_ROW = static_cast<size_t>(-1);

// In files of earlier versions, the modifiers held when a Key or ButtonDown event was made, above
// the 16 bits of its key code (recordings now keep modifiers as keys of their own).
// Readers that take only the low 16 bits of a Key's vk still see the plain key.
constexpr uint32_t MODIFIER_SHIFT = 0x10000;
constexpr uint32_t MODIFIER_CTRL = 0x20000;
constexpr uint32_t MODIFIER_ALT = 0x40000;
constexpr uint32_t MODIFIER_WIN = 0x80000;
constexpr uint32_t MODIFIER_BITS = 0xF0000;
constexpr uint32_t KEY_CODE_BITS = 0xFFFF;
// A Key event with this bit is a press only, released by a later KeyUp: a key held as long as it
// was held. Without it a Key is a tap, pressed and released at once.
constexpr uint32_t KEY_HELD = 0x100000;

// A ButtonDown or ButtonUp made at a known place: its dx, dy hold the cursor's position in physical
// pixels of the virtual screen. Readers that ignore vk, dx and dy of buttons replay it as before.
constexpr uint32_t AT_POSITION = 0x200000;

inline bool HasScreenPosition(const MacroEvent& event) {
    return (event.type == ButtonDown || event.type == ButtonUp) && (event.vk & AT_POSITION) != 0;
}
