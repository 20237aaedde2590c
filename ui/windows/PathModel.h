// The mouse path behind the path editor: built from the macro's Move events, smoothed for
// drawing, deformed by dragging points, and the drags' shifts written back into the Move events.
// Portable, no <windows.h>.
#pragma once

#include <cstddef>

// Base reach of a drag in points along the path: the point count times this, kept in 3..40.
constexpr double DRAG_REACH_PER_POINT = 0.03125;
constexpr double DRAG_REACH_MIN = 3.0;
constexpr double DRAG_REACH_MAX = 40.0;
// The reach grows by one base reach per this many units of pull, up to this factor.
constexpr double DRAG_PULL_PER_REACH = 50.0;
constexpr double DRAG_REACH_GROWTH_MAX = 4.0;

// Rebuilds `pathPoints`, `pathBasePoints` and `pathMoveIndices` from `events`, smooths, empties
// the selection.
void BuildPath();
// Starts dragging point `index`; an index outside the path is ignored.
void BeginDrag(size_t index);
// Reshapes the path from the drag's snapshot so that the dragged point follows (x, y); points
// beyond the drag's reach (and two more, where the shift is smoothed) stay exactly where they were.
void DragTo(double x, double y);
void EndDrag();
// Forgets any drag in progress; the selection stays.
void ResetEditState();
// Adds to each Move event the change its drags gave the difference between its two points
// (each point's shift rounded), so Move events no drag reached keep their dx and dy; the
// applied path becomes the new base. Returns false when the path does not describe the macro
// (nothing written). The Win32 side's
// ApplyPath calls this and then refreshes the event list.
bool WritePathToEvents();
