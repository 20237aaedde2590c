// Raw mouse input: registration, the device list, device choice and the packet handler. The
// decisions live in RawMouse.cpp; this file reads packets and performs them on the windows.
#include "input/RawMouse_win.h"

#include "app/AppState.h"
#include "app/WindowText_win.h"
#include "input/HookWatchdog_win.h"
#include "input/KeyboardHook_win.h"
#include "macro/Recorder_win.h"

#include <cstdio>
#include <cstring>
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
}

// Returns whether a capture took the press.
bool CapturePressedButton(uint32_t press) {
    switch (MouseCaptureTarget(app, FocusedHotkeyEdit())) {
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

} // namespace

void RegisterRawInputSink(HWND target, USHORT usage) {
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01;
    device.usUsage = usage;
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = target;
    RegisterRawInputDevices(&device, 1, sizeof(device));
}

void RegisterRawMouse(HWND target) {
    RegisterRawInputSink(target, 0x02);
}

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
        // The hold-off button's press and release are neither recorded nor shown.
        if (IsHoldOffButtonPress(app, packet.press)) {
            SwitchHoldStateOff();
            return;
        }
    }
    if (IsHoldOffButtonRelease(app, packet.release)) {
        SwitchHoldStateOn();
        return;
    }
    if (IsHoldModePlayRelease(app, packet.release)) app.stopRequested = true;

    RecordMousePacket(packet.dx, packet.dy, packet.press, packet.release);

    app.lastRawDx = packet.dx;
    app.lastRawDy = packet.dy;
    app.lastRawInputTick = app.clock();
    UpdateCoordLabel();
}

void HandleRawInput(LPARAM rawInputHandle) {
    HRAWINPUT handle = reinterpret_cast<HRAWINPUT>(rawInputHandle);
    UINT size = 0;
    if (GetRawInputData(handle, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0) return;
    std::vector<BYTE> buffer(size, 0);
    if (GetRawInputData(handle, RID_INPUT, buffer.data(), &size, sizeof(RAWINPUTHEADER)) != size) return;
    // Keyboard packets only feed the hook watchdog; the mouse rules never see them.
    if (buffer.size() >= sizeof(RAWINPUTHEADER) + sizeof(RAWKEYBOARD) &&
        reinterpret_cast<const RAWINPUTHEADER*>(buffer.data())->dwType == RIM_TYPEKEYBOARD) {
        RAWKEYBOARD keyboard{};
        std::memcpy(&keyboard, buffer.data() + sizeof(RAWINPUTHEADER), sizeof(keyboard));
        OnRawKeyboardPacket(keyboard);
        return;
    }
    // A packet too short to hold a mouse record is not read past its end.
    if (buffer.size() < sizeof(RAWINPUTHEADER) + sizeof(RAWMOUSE)) return;
    RAWINPUT input{};
    std::memcpy(&input, buffer.data(), buffer.size() < sizeof(input) ? buffer.size() : sizeof(input));
    if (input.header.dwType != RIM_TYPEMOUSE) return;

    RawMouseReading reading;
    reading.device = input.header.hDevice;
    reading.buttonFlags = input.data.mouse.usButtonFlags;
    reading.lastX = input.data.mouse.lLastX;
    reading.lastY = input.data.mouse.lLastY;
    HandleRawMouseReading(reading);
}

void UpdateCoordLabel() {
    if (!app.coordLabel) return;
    wchar_t text[64];
    std::swprintf(text, 64, L"X: %ld  Y: %ld", static_cast<long>(app.lastRawDx),
                  static_cast<long>(app.lastRawDy));
    SetWindowTextW(app.coordLabel, text);
}
