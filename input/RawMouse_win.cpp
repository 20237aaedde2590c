// Raw mouse input: the device list, device choice and the packet handler. The decisions live in
// RawMouse.cpp; this file performs them on the windows. Packets are read in RawInput_win.cpp.
#include "input/RawMouse_win.h"

#include "core/AppState.h"
#include "ui/windows/WindowText_win.h"
#include "input/KeyboardHook_win.h"
#include "macro/PlaybackSystem_win.h"
#include "input/MouseHook_win.h"
#include "macro/Recorder_win.h"

#include <cstdio>
#include <vector>

namespace {

HotkeyEdit FocusedHotkeyEdit() {
    HWND focus = GetFocus();
    if (!focus) return HotkeyEdit::None;
    if (focus == app.recordHotkeyEdit) return HotkeyEdit::Record;
    if (focus == app.playHotkeyEdit) return HotkeyEdit::Play;
    if (focus == app.holdOffHotkeyEdit) return HotkeyEdit::HoldOff;
    return HotkeyEdit::None;
}

void CaptureButton(HotkeyBinding& binding, HWND edit, bool& capture, uint32_t press) {
    binding = {HotkeyMouseButton, press};
    ShowHotkeyText(edit, binding);
    capture = false;
    SyncMouseHook();
}

// Returns whether a capture took the press.
bool CapturePressedButton(uint32_t press) {
    switch (MouseCaptureTarget(app, FocusedHotkeyEdit(), press)) {
    case HotkeyEdit::Record:
        CaptureButton(app.recordHotkey, app.recordHotkeyEdit, app.recordHotkeyCapture, press);
        return true;
    case HotkeyEdit::Play:
        CaptureButton(app.playHotkey, app.playHotkeyEdit, app.playHotkeyCapture, press);
        return true;
    case HotkeyEdit::HoldOff:
        CaptureButton(app.holdOffHotkey, app.holdOffHotkeyEdit, app.holdOffHotkeyCapture, press);
        return true;
    case HotkeyEdit::None:
        return false;
    }
    return false;
}

// False when the system gives no name for the device; such a device is not listed.
bool ReadRawDeviceName(HANDLE device, std::wstring& name) {
    UINT length = 0;
    GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, nullptr, &length);
    if (length == 0) return false;
    std::wstring buffer(length, L'\0');
    if (GetRawInputDeviceInfoW(device, RIDI_DEVICENAME, buffer.data(), &length) == static_cast<UINT>(-1))
        return false;
    name = TrimDeviceName(std::move(buffer));
    return true;
}

// Captures and the mouse-button hotkeys; true when the packet is the hold-off button's, which is
// neither recorded nor shown.
bool PerformMouseHotkeys(const MousePacket& packet) {
    if (packet.press) {
        bool captured = CapturePressedButton(packet.press);
        if (!captured) {
            switch (MouseHotkeyFor(app, packet.press)) {
            case MouseHotkeyAction::ToggleRecording:
                ToggleRecording();
                break;
            case MouseHotkeyAction::PlayHotkey:
                PlayHotkeyPress();
                break;
            case MouseHotkeyAction::None:
                break;
            }
        }
        if (IsHoldOffButtonPress(app, packet.press)) {
            SwitchHoldStateOff();
            return true;
        }
    }
    if (IsHoldOffButtonRelease(app, packet.release)) {
        SwitchHoldStateOn();
        return true;
    }
    if (IsHoldModePlayRelease(app, packet.release)) app.stopRequested = true;
    return false;
}

} // namespace

void EnumerateRawMice() {
    app.rawDevices.clear();
    app.deviceIndex = 0;
    if (app.deviceCombo) {
        SendMessageW(app.deviceCombo, CB_RESETCONTENT, 0, 0);
        SendMessageW(app.deviceCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Any mouse [raw]"));
        SendMessageW(app.deviceCombo, CB_SETCURSEL, 0, 0);
    }

    UINT count = 0;
    if (GetRawInputDeviceList(nullptr, &count, sizeof(RAWINPUTDEVICELIST)) != 0 || count == 0) return;
    std::vector<RAWINPUTDEVICELIST> list(count);
    UINT listed = GetRawInputDeviceList(list.data(), &count, sizeof(RAWINPUTDEVICELIST));
    if (listed == static_cast<UINT>(-1)) return;
    list.resize(listed < list.size() ? listed : list.size());

    for (const RAWINPUTDEVICELIST& entry : list) {
        if (entry.dwType != RIM_TYPEMOUSE) continue;
        std::wstring name;
        if (!ReadRawDeviceName(entry.hDevice, name)) continue;
        app.rawDevices.push_back({entry.hDevice, name});
        if (app.deviceCombo)
            SendMessageW(app.deviceCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
}

void OnDeviceSelectionChanged() {
    if (!app.deviceCombo) return;
    SelectDeviceEntry(SendMessageW(app.deviceCombo, CB_GETCURSEL, 0, 0));
}

void HandleRawMouseReading(const RawMouseReading& reading) {
    MousePacket packet;
    if (!DecodeMousePacket(app, reading, packet)) return;
    bool own = IsOwnInjectedPacket(reading);
    // The live mouse hook has handed over the bound buttons itself, where raw input still sees them.
    if (!own && CheckMouseHook()) packet = WithoutWithheldButtons(app.withheldMouseButtons, packet);
    if (!own && PerformMouseHotkeys(packet)) return;

    packet = WithoutRecordHotkeyButton(app, packet);
    // A click keeps the pixel it was made on, for ScreenMouse to make it there again.
    std::optional<ScreenPoint> cursor;
    if (app.recording && (packet.press || packet.release)) cursor = PhysicalCursorPos();
    RecordMousePacket(packet.dx, packet.dy, packet.press, packet.release, packet.wheelDx, packet.wheelDy,
                      cursor);

    app.lastRawDx = packet.dx;
    app.lastRawDy = packet.dy;
    app.lastRawInputTick = app.clock();
    if (app.lastRawInputTick - app.coordLabelTick >= COORD_LABEL_GAP_MS) UpdateCoordLabel();
}

void PerformWithheldButton(uint32_t transition) {
    MousePacket packet;
    for (uint32_t press : BUTTON_PRESS_FLAGS) {
        if (press == transition) packet.press = press;
    }
    if (!packet.press) packet.release = transition;
    PerformMouseHotkeys(packet);
}

void UpdateCoordLabel() {
    if (!app.coordLabel) return;
    wchar_t text[64];
    std::swprintf(text, 64, L"X: %ld  Y: %ld", static_cast<long>(app.lastRawDx),
                  static_cast<long>(app.lastRawDy));
    SetControlText(app.coordLabel, text);
    app.coordLabelTick = app.clock();
}
