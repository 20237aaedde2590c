// The recorder without Win32: the recording clock and the appending steps the input handlers
// call, over `app` with its clock `app.clock`.
#pragma once

#include "core/MacroRecords.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Events a recording makes room for at its start: 1000 Hz mouse input for about 17 minutes.
constexpr size_t RECORDING_RESERVED_EVENTS = size_t{1} << 20;

// The time since the previous accepted packet or key press (since the start for the first event)
// with the time carried forward added; clears the carried time and restarts the clock at `now`.
uint64_t TakeRecordingDelay(uint64_t now);

// Appends Move, ButtonDown, ButtonUp and Wheel for one accepted mouse packet while recording with
// the master switch on; only the first event carries the gap. A gap under MOUSE_DELAY_FLOOR_MS, and
// the gap of a packet that records nothing, is carried forward to the next event instead. With the
// cursor's position known, ButtonDown and ButtonUp keep it (AT_POSITION).
void RecordMousePacket(int32_t dx, int32_t dy, uint32_t pressFlag, uint32_t releaseFlag, int32_t wheelDx = 0,
                       int32_t wheelDy = 0, std::optional<ScreenPoint> cursor = std::nullopt);

// Appends a held press (a Key event with KEY_HELD) while recording; key gaps keep their measured
// length. Auto-repeats are further held presses.
void RecordKeyPress(uint32_t vk);
// Appends a KeyUp for a key whose press the recording holds; other releases are not recorded.
void RecordKeyRelease(uint32_t vk);
// A chord that starts or stops a recording is no part of it: the presses of the modifiers held
// with it are taken back, and their releases will not be recorded.
void DropHeldModifierPresses();

// The state half of starting and ending a recording; the windows are updated by the caller. The
// end keeps the pause since the last event as a Wait, then releases what the recording holds.
void BeginRecording();
void EndRecording();

// Cuts the recording before its last press of this button, dropping the press and all after it:
// the click that stopped the recording is not part of the macro, but its time is.
void DropEventsFromLastPress(uint32_t pressFlag);
