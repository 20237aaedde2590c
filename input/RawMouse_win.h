// Raw mouse input: registration, the device list, device choice and the WM_INPUT handler.
#pragma once

#include <windows.h>

void RegisterRawMouse(HWND target);
void EnumerateRawMice();
void OnDeviceSelectionChanged();
void HandleRawInput(LPARAM rawInputHandle);
void UpdateCoordLabel();
