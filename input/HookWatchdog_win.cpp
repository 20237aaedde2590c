// The hook watchdog's Win32 side: raw keyboard registration and the reinstall.
#include "input/HookWatchdog_win.h"

#include "app/AppState.h"
#include "input/HookWatchdog.h"
#include "input/KeyboardHook_win.h"
#include "input/RawMouse_win.h"

void RegisterRawKeyboardWatch(HWND target) {
    RegisterRawInputSink(target, 0x06);
}

void OnRawKeyboardPacket(const RAWKEYBOARD& keyboard) {
    if (keyboard.Flags & RI_KEY_BREAK) return;
    if (!app.keyboardHook || !HookLooksLost(app.clock(), app.lastHookCallTick)) return;
    RemoveKeyboardHook();
    InstallKeyboardHook();
    app.lastHookCallTick = app.clock();
    ++app.hookReinstallCount;
}
