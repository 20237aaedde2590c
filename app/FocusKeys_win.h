// Tab, Shift+Tab and the arrow keys between radio buttons in the main window: the focus moves
// through the controls in reading order, as in a dialog.
#pragma once

#include <windows.h>

// Called by the message loop before translating: true when the message was such a key for the
// main window or one of its controls and has been acted on.
bool HandleFocusKeys(const MSG& message);
