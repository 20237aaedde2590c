// Where a small window (overlay, path editor, profile window) opens: beside the main window and
// clear of it, inside the work area, or where the user last left it. Portable rectangle arithmetic.
#pragma once

#include "core/AppState.h"

#include <cstdint>
#include <span>

enum PlacementSide { RightOfMain, BelowMain, LeftOfMain, AboveMain };

// The first of `sides` where a window of this size fits whole into `work` touching the main
// window's edge without covering it: beside the right or left edge aligned with the main window's
// top (its bottom with `alignEnd`), below or above aligned with its left edge (its right). A
// window too close to the work area's edge slides along the main window's edge to stay inside.
// When no side has room, the first side's place moved into the work area.
ScreenRect PlaceBesideMain(ScreenRect main, int32_t width, int32_t height, ScreenRect work,
                           std::span<const PlacementSide> sides, bool alignEnd);
// `place` moved the least distance that brings it inside `work` (its top left corner first, when
// it is larger).
ScreenRect KeepInside(ScreenRect place, ScreenRect work);
