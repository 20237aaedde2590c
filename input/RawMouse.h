// The rules of raw mouse input that need no Win32: decoding a packet's button flags, the device
// filter, the device choice, and which hotkey a button press or release stands for.
#pragma once

#include "core/AppState.h"

#include <cstdint>

// The fields of one raw mouse packet that the program looks at.
struct RawMouseReading {
    void* device = nullptr;
    uint16_t buttonFlags = 0;
    int32_t lastX = 0;
    int32_t lastY = 0;
    uintptr_t extraInformation = 0;
    uint16_t buttonData = 0; // the wheel's signed delta, when a wheel flag is set
};

// At most one press flag and one release flag per packet, the first in the order left, right,
// middle, fourth, fifth; 0 for none.
struct ButtonTransitions {
    uint32_t press = 0;
    uint32_t release = 0;

    bool operator==(const ButtonTransitions&) const = default;
};

// Raw-input wheel flags: the vertical and the horizontal wheel turned by `buttonData`.
constexpr uint16_t RAW_WHEEL_FLAG = 0x0400;
constexpr uint16_t RAW_HWHEEL_FLAG = 0x0800;

struct MousePacket {
    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t press = 0;
    uint32_t release = 0;
    // Wheel deltas as delivered (120 a notch; high-resolution wheels send less): vertical positive
    // away from the user, horizontal positive to the right.
    int32_t wheelDx = 0;
    int32_t wheelDy = 0;
};

ButtonTransitions DecodeRawButtons(uint16_t buttonFlags);

// Whether a packet is the program's own replayed input: the playback marks every record it injects.
// Such packets never act as hotkeys or captures, so a replayed button cannot stop, restart or suspend
// its own playback. A missing device handle says nothing: remote-desktop sessions, some touchpads
// and other programs' injected input come without one, and their buttons must still work.
bool IsOwnInjectedPacket(const RawMouseReading& reading);

// The packet's press and release with the record hotkey's button taken out: that button is never
// recorded, neither its press nor its release.
MousePacket WithoutRecordHotkeyButton(const AppState& state, MousePacket packet);

// False when the chosen combo entry filters this device out (or names no device at all).
bool PassesDeviceFilter(const AppState& state, void* device);

// Filters and decodes one reading, the wheel included; false when the packet is to be dropped.
bool DecodeMousePacket(const AppState& state, const RawMouseReading& reading, MousePacket& packet);

// Takes a combo selection as the chosen device entry when it names one; returns whether it did.
bool SelectDeviceEntry(int64_t entry);

// Drops everything from the first NUL on (the system counts the terminator in the name's length).
std::wstring TrimDeviceName(std::wstring name);

// The hotkey edits a mouse button can be captured into.
enum class HotkeyEdit { None, Record, Play, HoldOff };

// The edit that takes a pressed button: the focused one, when its capture is armed. The left
// button is never taken: it is the click that moves the focus into a box or out of it.
HotkeyEdit MouseCaptureTarget(const AppState& state, HotkeyEdit focused, uint32_t press);

enum class MouseHotkeyAction { None, ToggleRecording, PlayHotkey };

// The record or play hotkey a press fires; None while the master switch or the hold state is off.
MouseHotkeyAction MouseHotkeyFor(const AppState& state, uint32_t press);

bool IsHoldOffButtonPress(const AppState& state, uint32_t press);
bool IsHoldOffButtonRelease(const AppState& state, uint32_t release);
// In Hold mode, releasing the play button stops a running playback.
bool IsHoldModePlayRelease(const AppState& state, uint32_t release);

// The buttons bound as the record, play or hold-off hotkey, as press flags: the mouse hook withholds
// their physical presses and releases from other programs, as swallowed hotkey keys are.
uint32_t WithheldMouseButtons(const AppState& state);
// Whether the hook withholds a press or release flag: one of a withheld button, not injected (the
// program's own replay and other programs' input pass, and so does all movement).
bool WithholdsMouseTransition(uint32_t withheld, uint32_t transition, bool injected);
// A packet without the transitions that the live mouse hook has withheld and handed over itself.
MousePacket WithoutWithheldButtons(uint32_t withheld, MousePacket packet);
