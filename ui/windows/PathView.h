// The path editor's view: fitting the path into the client area, the transform between path
// units and client pixels, the hit test, wheel zoom about the cursor and the right-button pan.
// Portable arithmetic over `app.pathView`; the window code feeds it client sizes and positions.
#pragma once

#include "core/ProfileRecords.h"

#include <cstdint>

// Pixels kept free around the fitted path on every side.
constexpr int32_t PATH_VIEW_MARGIN = 20;
// A press grabs the nearest point within this many pixels.
constexpr int32_t PATH_HIT_RADIUS = 8;
constexpr double PATH_ZOOM_MIN = 0.1;
constexpr double PATH_ZOOM_MAX = 10.0;
constexpr double PATH_ZOOM_IN_STEP = 1.1;
constexpr double PATH_ZOOM_OUT_STEP = 0.9;

struct ClientPoint {
    int32_t x = 0;
    int32_t y = 0;
};

// Fits the bounding box of `pathPoints` into a client area of this size; false when there is
// nothing to draw (no points, or a client area of 40 pixels or less on either axis). While a point
// is dragged the fit stays as it was.
bool FitPathViewToClient(int32_t width, int32_t height);
ClientPoint PathToClient(const PathPoint& point, int32_t width, int32_t height);
// The inverse transform; a scale of exactly 0 counts as 1.
PathPoint ClientToPath(ClientPoint point, int32_t width, int32_t height);
// Index of the nearest point within 8 pixels of `point` (the later one on ties), or -1.
int64_t HitTestPath(ClientPoint point, int32_t width, int32_t height);
// One wheel notch at `cursor`: zooms in for a positive delta, out otherwise, about the cursor.
void ZoomPathView(ClientPoint cursor, int32_t width, int32_t height, int32_t wheelDelta);
void BeginPathPan(ClientPoint cursor);
void PanPathViewTo(ClientPoint cursor);
void ResetPathView();
