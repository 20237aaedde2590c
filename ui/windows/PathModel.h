// The mouse path behind the path editor: built from the macro's Move events, smoothed, deformed
// by dragging points, and written back as the Move events' movements. Portable, no <windows.h>.
#pragma once

#include <cstddef>

// Base reach of a drag in points along the path: the point count times this, kept in 3..40.
constexpr double DRAG_REACH_PER_POINT = 0.03125;
constexpr double DRAG_REACH_MIN = 3.0;
constexpr double DRAG_REACH_MAX = 40.0;
// The reach grows by one base reach per this many units of pull, up to this factor.
constexpr double DRAG_PULL_PER_REACH = 50.0;
constexpr double DRAG_REACH_GROWTH_MAX = 4.0;

// Rebuilds `pathPoints` and `pathMoveIndices` from `events`, smooths, empties the selection.
void BuildPath();
// Two averaging passes over the inner points of `pathPoints`; the end points stay.
void SmoothPath();
// Starts dragging point `index`; an index outside the path is ignored.
void BeginDrag(size_t index);
// Reshapes the path from the drag's snapshot so that the dragged point follows (x, y).
void DragTo(double x, double y);
void EndDrag();
// Forgets any drag in progress; the selection stays.
void ResetEditState();
// Writes the differences between consecutive points into the Move events they came from.
// Returns false when the path does not describe the macro (nothing written). The Win32 side's
// ApplyPath calls this and then refreshes the event list.
bool WritePathToEvents();
