// The system-wide low-level keyboard hook and the display text of hotkey bindings.
#pragma once

#include "app/Records.h"

#include <windows.h>

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM data);
void InstallKeyboardHook();
void RemoveKeyboardHook();
void ShowHotkeyText(HWND edit, HotkeyBinding binding);
