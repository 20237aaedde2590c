// The recorder without Win32: the recording clock and the two appending steps the input handlers
// call, over `app` with its clock `app.clock`.
#pragma once

#include "core/MacroRecords.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Events a recording makes room for at its start: 1000 Hz mouse input for about 17 minutes.
constexpr size_t RECORDING_RESERVED_EVENTS = size_t{1} << 20;

// The gap since the previous accepted packet or key press (0 for the first event of a recording,
// and when the clock did not advance); restarts the clock at `now` in every case.
uint32_t TakeRecordingDelay(uint64_t now);

// Appends Move, ButtonDown and ButtonUp for one accepted mouse packet while recording with the
// master switch on; only the first event carries the gap, and gaps under MOUSE_DELAY_FLOOR_MS are 0.
// A ButtonDown carries the held modifiers in its vk and takes the place of their unused taps. With
// the cursor's position known, ButtonDown and ButtonUp keep it (AT_POSITION).
void RecordMousePacket(int32_t dx, int32_t dy, uint32_t pressFlag, uint32_t releaseFlag,
                       std::optional<ScreenPoint> cursor = std::nullopt);

// Appends one Key event while recording; key gaps keep their measured length. A key pressed with
// modifiers held carries them in its vk and takes the place of their unused taps; a modifier's own
// tap stays only if it is released before anything else is pressed. Call it before the hook notes
// the key as held.
void RecordKeyPress(uint32_t vk);
// The modifiers held with the record or play hotkey are part of that press: their unused taps go.
void DropProvisionalTaps();
// A modifier released before any key or button used it: its tap is final.
void KeepModifierTap(uint32_t vk);

// The state half of starting and ending a recording; the windows are updated by the caller.
void BeginRecording();
void EndRecording();

// Cuts the recording before its last press of this button, dropping the press and all after it:
// the click that stopped the recording is not part of the macro.
void DropEventsFromLastPress(uint32_t pressFlag);
