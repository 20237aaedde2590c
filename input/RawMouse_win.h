// Raw mouse input: registration, the device list, device choice and the WM_INPUT handler.
#pragma once

#include "input/RawMouse.h"

#include <windows.h>

void RegisterRawMouse(HWND target);
void EnumerateRawMice();
void OnDeviceSelectionChanged();
// WM_INPUT: reads the packet behind the handle and hands it to HandleRawMouseReading.
void HandleRawInput(LPARAM rawInputHandle);
// Everything after the read: device filter, decode, captures, hotkeys, recording, display.
void HandleRawMouseReading(const RawMouseReading& reading);
void UpdateCoordLabel();
