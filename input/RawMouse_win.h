// Raw mouse input: the device list, device choice and the handler of one read packet.
#pragma once

#include "input/RawMouse.h"

#include <windows.h>

void EnumerateRawMice();
void OnDeviceSelectionChanged();
// Everything after the read: device filter, decode, captures, hotkeys, recording, display.
void HandleRawMouseReading(const RawMouseReading& reading);
void UpdateCoordLabel();
