// Raw mouse input: registration, the device list, device choice and the WM_INPUT handler.
#pragma once

#include "input/RawMouse.h"

#include <windows.h>

// Registers `target` for raw input of one generic-desktop usage (2 mouse, 6 keyboard), also while
// another window has the focus.
void RegisterRawInputSink(HWND target, USHORT usage);
void RegisterRawMouse(HWND target);
void EnumerateRawMice();
void OnDeviceSelectionChanged();
// WM_INPUT: reads the packet behind the handle and hands it to HandleRawMouseReading.
void HandleRawInput(LPARAM rawInputHandle);
// Everything after the read: device filter, decode, captures, hotkeys, recording, display.
void HandleRawMouseReading(const RawMouseReading& reading);
void UpdateCoordLabel();
