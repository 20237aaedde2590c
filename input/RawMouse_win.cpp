// Raw mouse input: registration, device list and the packet handler.
#include "input/RawMouse_win.h"

#include "app/AppState.h"
#include "app/WindowText_win.h"

#include <cstdio>

void RegisterRawMouse(HWND target) {
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01;
    device.usUsage = 0x02;
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = target;
    RegisterRawInputDevices(&device, 1, sizeof(device));
}

void EnumerateRawMice() {
    app.rawDevices.clear();
    if (!app.deviceCombo) return;
    SendMessageW(app.deviceCombo, CB_RESETCONTENT, 0, 0);
    SendMessageW(app.deviceCombo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Any mouse [raw]"));
    SendMessageW(app.deviceCombo, CB_SETCURSEL, 0, 0);
    app.deviceIndex = 0;
}

void OnDeviceSelectionChanged() {}

void HandleRawInput(LPARAM) {}

void UpdateCoordLabel() {
    if (!app.coordLabel) return;
    wchar_t text[64];
    std::swprintf(text, 64, L"X: %ld  Y: %ld", static_cast<long>(app.lastRawDx), static_cast<long>(app.lastRawDy));
    SetWindowTextW(app.coordLabel, text);
}
