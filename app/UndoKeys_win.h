// Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z in the main window: undo and redo of the macro, with the event
// list and the path editor refreshed.
#pragma once

#include <windows.h>

// Called by the message loop before translating: true when the message was an undo or redo key
// for the main window (also when the step was refused) and must not go further.
bool HandleUndoKeys(const MSG& message);
