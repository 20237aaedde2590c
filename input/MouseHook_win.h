// The low-level mouse hook that withholds the physical presses and releases of the mouse buttons
// bound as hotkeys from other programs; raw input cannot hold a click back. It runs on a thread of
// its own that does nothing else, so a busy window never delays the system's mouse.
#pragma once

#include <windows.h>

#include <cstdint>

// Posted to the main window for each withheld press or release: wParam is its raw-input flag.
constexpr UINT WM_APP_WITHHELD_BUTTON = WM_APP + 3;

// Takes the bound buttons from the hotkeys; starts the hook's thread when one is bound and ends it
// when none is.
void SyncMouseHook();
// Ends the hook's thread, waiting a moment for it.
void RemoveMouseHook();
// The watchdog: called with each raw mouse packet that is not the program's own; puts the hook
// back when the packet shows that Windows dropped it. Returns whether the hook is live.
bool CheckMouseHook();

LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data);
