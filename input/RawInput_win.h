// Raw input's one home: registering the main window for raw mouse and keyboard input, and reading
// each WM_INPUT packet and handing it to the part that owns its kind (the mouse rules or the hook
// watchdog). Neither of those parts calls back here.
#pragma once

#include <windows.h>

// Registers `target` for raw mouse and keyboard input, also while another window has the focus.
void RegisterRawInput(HWND target);
// WM_INPUT: reads the packet behind the handle; mouse packets go to HandleRawMouseReading,
// keyboard packets to the hook watchdog.
void HandleRawInput(LPARAM rawInputHandle);
