// The topmost status overlay: active profile, REC, PLAY and the master switch in large print.
// Other parts write its labels directly while they exist.
#pragma once

#include <windows.h>

// Creates the overlay, or raises the open one and makes it topmost again.
void OpenOverlay();
LRESULT CALLBACK OverlayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
