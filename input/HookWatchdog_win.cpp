// The hook watchdog's Win32 side: raw keyboard registration and the reinstall.
#include "input/HookWatchdog_win.h"

#include "app/AppState.h"
#include "input/HookWatchdog.h"
#include "input/KeyboardHook_win.h"

void RegisterRawKeyboardWatch(HWND target) {
    RAWINPUTDEVICE device{};
    device.usUsagePage = 0x01;
    device.usUsage = 0x06;
    device.dwFlags = RIDEV_INPUTSINK;
    device.hwndTarget = target;
    RegisterRawInputDevices(&device, 1, sizeof(device));
}

void OnRawKeyboardPacket(const RAWKEYBOARD& keyboard) {
    if (keyboard.Flags & RI_KEY_BREAK) return;
    if (!app.keyboardHook || !HookLooksLost(app.clock(), app.lastHookCallTick)) return;
    RemoveKeyboardHook();
    InstallKeyboardHook();
    app.lastHookCallTick = app.clock();
    ++app.hookReinstallCount;
}
