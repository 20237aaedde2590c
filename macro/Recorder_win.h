// The recording switch and the two appending steps the input handlers call.
#pragma once

#include "core/AppState.h"
#include "macro/Recorder.h"

// Starts or stops recording; refused while the master switch or the hold state is off, and no
// recording starts while a playback runs.
void ToggleRecording();
// The Record button: as ToggleRecording, and a stop leaves out the click on the button.
void ToggleRecordingFromButton();
// Stops a running recording without that refusal (master switch off, hold-off hotkey pressed).
void StopRecording();
// Stops a running recording before a command that loads or saves the macro acts, leaving out the
// click on `button` that gave the command. The recording stays the macro (an undo step once a
// load replaces it).
void StopRecordingForCommandOf(WindowHandle button);
