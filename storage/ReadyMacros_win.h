// Loading a profile slot's macro, from its ready copy when the file is unchanged, and making the
// slots' ready copies again after the keyboard hook has returned.
#pragma once

#include <windows.h>

#include <string>

constexpr UINT WM_APP_PREPARE_READY_MACROS = WM_APP + 2;

// Loads the macro of `slot` from `path` into the program and its controls; asks the main window
// to make the ready copies again afterwards. False when the file cannot be read as a macro.
bool LoadSlotMacro(int slot, const std::wstring& path);
// Reads and parses ahead the macro of every enabled slot whose copy is missing or stale, and lets
// go of the copies of the other slots. Runs on the user-interface thread, outside the hook.
void PrepareReadyMacros();
