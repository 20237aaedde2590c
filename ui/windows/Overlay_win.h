// The topmost status overlay: active profile, REC, PLAY and the master switch in large print.
// Other parts write its labels directly while they exist.
#pragma once

#include <windows.h>

// Creates the overlay, or raises the open one and makes it topmost again.
void OpenOverlay();
// The eye button: opens the overlay, or closes it when it is open.
void ToggleOverlay();
// The overlay's switch label: ON exactly while the master switch is on and the hold-off key is
// not held, since either one suspends everything.
void ShowOverlaySwitchState();
LRESULT CALLBACK OverlayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
