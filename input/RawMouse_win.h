// Raw mouse input: the device list, device choice and the handler of one read packet.
#pragma once

#include "input/RawMouse.h"

#include <windows.h>

#include <cstdint>

void EnumerateRawMice();
void OnDeviceSelectionChanged();
// Everything after the read: device filter, decode, captures, hotkeys, recording, display.
void HandleRawMouseReading(const RawMouseReading& reading);
// A press or release (its raw-input flag) that the mouse hook withheld: the hotkeys act on it as on
// a raw packet's, and a capture takes its press.
void PerformWithheldButton(uint32_t transition);
// Shows the last reading in the coordinate label. A mouse polled at 1000 Hz would repaint it a
// thousand times a second on the interface thread, which also runs the keyboard hook: a burst
// updates it at most every COORD_LABEL_GAP_MS, and the coordinate timer shows the burst's end.
constexpr uint64_t COORD_LABEL_GAP_MS = 16;
void UpdateCoordLabel();
