// Opening the small windows beside the main window, or where the user last left them, and keeping
// that place for the session. The rectangle arithmetic is ui/windows/WindowPlacement.cpp.
#pragma once

#include "ui/windows/WindowPlacement.h"

#include <windows.h>

// Moves `window`, made but not yet shown, to `remembered` kept inside its monitor's work area, or
// when nothing is remembered beside the main window (see PlaceBesideMain).
void PlaceSmallWindow(HWND window, const ScreenRect& remembered, std::span<const PlacementSide> sides,
                      bool alignEnd);
// Keeps where `window` is now; called as it closes.
void RememberPlace(HWND window, ScreenRect& remembered);
