// Raw mouse rules without Win32: button decoding, device filter and choice, mouse-button hotkeys.
#include "input/RawMouse.h"

ButtonTransitions DecodeRawButtons(uint16_t buttonFlags) {
    ButtonTransitions transitions;
    for (size_t i = 0; i < 5; ++i) {
        if (!transitions.press && (buttonFlags & BUTTON_PRESS_FLAGS[i]))
            transitions.press = BUTTON_PRESS_FLAGS[i];
        if (!transitions.release && (buttonFlags & BUTTON_RELEASE_FLAGS[i]))
            transitions.release = BUTTON_RELEASE_FLAGS[i];
    }
    return transitions;
}

bool IsOwnInjectedPacket(const RawMouseReading& reading) {
    return reading.extraInformation == INJECTED_INPUT_MARK;
}

MousePacket WithoutRecordHotkeyButton(const AppState& state, MousePacket packet) {
    if (!IsMouseHotkey(state.recordHotkey)) return packet;
    if (packet.press == state.recordHotkey.code) packet.press = 0;
    if (packet.release == state.recordHotkey.code * 2) packet.release = 0;
    return packet;
}

bool PassesDeviceFilter(const AppState& state, void* device) {
    if (state.deviceIndex <= 0) return true;
    size_t entry = static_cast<size_t>(state.deviceIndex) - 1;
    if (entry >= state.rawDevices.size()) return false;
    void* chosen = state.rawDevices[entry].handle;
    return !chosen || chosen == device;
}

bool DecodeMousePacket(const AppState& state, const RawMouseReading& reading, MousePacket& packet) {
    if (!PassesDeviceFilter(state, reading.device)) return false;
    ButtonTransitions transitions = DecodeRawButtons(reading.buttonFlags);
    packet = {reading.lastX, reading.lastY, transitions.press, transitions.release};
    auto delta = static_cast<int16_t>(reading.buttonData);
    if (reading.buttonFlags & RAW_WHEEL_FLAG)
        packet.wheelDy = delta;
    else if (reading.buttonFlags & RAW_HWHEEL_FLAG)
        packet.wheelDx = delta;
    return true;
}

bool SelectDeviceEntry(int64_t entry) {
    if (entry < 0 || entry >= static_cast<int64_t>(app.rawDevices.size()) + 1) return false;
    app.deviceIndex = static_cast<int32_t>(entry);
    return true;
}

std::wstring TrimDeviceName(std::wstring name) {
    size_t end = name.find(L'\0');
    if (end != std::wstring::npos) name.resize(end);
    return name;
}

HotkeyEdit MouseCaptureTarget(const AppState& state, HotkeyEdit focused, uint32_t press) {
    if (press == 0 || press == BUTTON_PRESS_FLAGS[0]) return HotkeyEdit::None;
    switch (focused) {
    case HotkeyEdit::Record:
        return state.recordHotkeyCapture ? focused : HotkeyEdit::None;
    case HotkeyEdit::Play:
        return state.playHotkeyCapture ? focused : HotkeyEdit::None;
    case HotkeyEdit::HoldOff:
        return state.holdOffHotkeyCapture ? focused : HotkeyEdit::None;
    default:
        return HotkeyEdit::None;
    }
}

MouseHotkeyAction MouseHotkeyFor(const AppState& state, uint32_t press) {
    if (!press || !state.masterEnabled || !state.holdStateOn) return MouseHotkeyAction::None;
    if (MatchesMouseButton(state.recordHotkey, press)) return MouseHotkeyAction::ToggleRecording;
    if (MatchesMouseButton(state.playHotkey, press)) return MouseHotkeyAction::PlayHotkey;
    return MouseHotkeyAction::None;
}

bool IsHoldOffButtonPress(const AppState& state, uint32_t press) {
    return press && MatchesMouseButton(state.holdOffHotkey, press);
}

bool IsHoldOffButtonRelease(const AppState& state, uint32_t release) {
    return release && ReleasesMouseButton(state.holdOffHotkey, release);
}

bool IsHoldModePlayRelease(const AppState& state, uint32_t release) {
    return release && state.playMode == Hold && ReleasesMouseButton(state.playHotkey, release) &&
           state.playing;
}

uint32_t WithheldMouseButtons(const AppState& state) {
    uint32_t buttons = 0;
    for (const HotkeyBinding* binding : {&state.recordHotkey, &state.playHotkey, &state.holdOffHotkey}) {
        for (size_t i = 1; i < 5; ++i) { // never the left button
            if (MatchesMouseButton(*binding, BUTTON_PRESS_FLAGS[i])) buttons |= BUTTON_PRESS_FLAGS[i];
        }
    }
    return buttons;
}

bool WithholdsMouseTransition(uint32_t withheld, uint32_t transition, bool injected) {
    return !injected && transition != 0 && ((withheld | withheld * 2) & transition) != 0;
}

MousePacket WithoutWithheldButtons(uint32_t withheld, MousePacket packet) {
    if (WithholdsMouseTransition(withheld, packet.press, false)) packet.press = 0;
    if (WithholdsMouseTransition(withheld, packet.release, false)) packet.release = 0;
    return packet;
}
