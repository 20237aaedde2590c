// The hook watchdog's Win32 side: the reinstall when a raw key press shows the hook was lost.
#include "input/HookWatchdog_win.h"

#include "core/AppState.h"
#include "input/HookWatchdog.h"
#include "input/KeyboardHook_win.h"

void OnRawKeyboardPacket(const RAWKEYBOARD& keyboard) {
    if (keyboard.Flags & RI_KEY_BREAK) return;
    if (!app.keyboardHook || !HookLooksLost(app.clock(), app.lastHookCallTick)) return;
    RemoveKeyboardHook();
    InstallKeyboardHook();
    app.lastHookCallTick = app.clock();
    ++app.hookReinstallCount;
}
