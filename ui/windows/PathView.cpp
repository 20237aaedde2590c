// The path editor's view transform, hit test, zoom and pan.
#include "ui/windows/PathView.h"

#include "core/AppState.h"

#include <algorithm>
#include <cmath>

namespace {

// Beyond this the drawing is far off-screen anyway; the limit keeps conversions defined and the
// hit test's squared distances inside 64 bits.
constexpr double CLIENT_COORDINATE_LIMIT = 1e8;

double ViewScale() {
    return app.pathView.fitScale * app.pathView.zoom;
}

double NonZeroScale() {
    double scale = ViewScale();
    return scale == 0 ? 1.0 : scale;
}

int32_t RoundToClient(double value) {
    if (std::isnan(value)) return 0;
    return static_cast<int32_t>(
        std::round(std::clamp(value, -CLIENT_COORDINATE_LIMIT, CLIENT_COORDINATE_LIMIT)));
}

} // namespace

bool FitPathViewToClient(int32_t width, int32_t height) {
    const std::vector<PathPoint>& points = app.pathPoints;
    if (points.empty() || width <= 0 || height <= 0) return false;
    // A refit as the dragged point moves the path's bounds would pull the drawing away from the
    // pointer: the fit of the press holds until the release.
    if (app.pathEdit.dragging) return true;
    double minX = points[0].x, maxX = points[0].x, minY = points[0].y, maxY = points[0].y;
    for (const PathPoint& p : points) {
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    double rangeX = maxX - minX;
    double rangeY = maxY - minY;
    if (rangeX == 0) rangeX = 1;
    if (rangeY == 0) rangeY = 1;
    int32_t usableWidth = width - 2 * PATH_VIEW_MARGIN;
    int32_t usableHeight = height - 2 * PATH_VIEW_MARGIN;
    if (usableWidth <= 0 || usableHeight <= 0) return false;
    PathView& view = app.pathView;
    view.minX = minX;
    view.maxX = maxX;
    view.minY = minY;
    view.maxY = maxY;
    view.fitScale = std::min(usableWidth / rangeX, usableHeight / rangeY);
    return true;
}

ClientPoint PathToClient(const PathPoint& point, int32_t width, int32_t height) {
    const PathView& view = app.pathView;
    double scale = ViewScale();
    double centreX = (view.minX + view.maxX) / 2;
    double centreY = (view.minY + view.maxY) / 2;
    return {RoundToClient((point.x - centreX) * scale + width / 2.0 + view.panX),
            RoundToClient((point.y - centreY) * scale + height / 2.0 + view.panY)};
}

PathPoint ClientToPath(ClientPoint point, int32_t width, int32_t height) {
    const PathView& view = app.pathView;
    double scale = NonZeroScale();
    return {(point.x - width / 2.0 - view.panX) / scale + (view.minX + view.maxX) / 2,
            (point.y - height / 2.0 - view.panY) / scale + (view.minY + view.maxY) / 2};
}

int64_t HitTestPath(ClientPoint point, int32_t width, int32_t height) {
    int64_t best = int64_t{PATH_HIT_RADIUS} * PATH_HIT_RADIUS;
    int64_t bestIndex = -1;
    const std::vector<PathPoint>& points = app.pathPoints;
    for (size_t i = 0; i < points.size(); ++i) {
        ClientPoint p = PathToClient(points[i], width, height);
        int64_t dx = int64_t{point.x} - p.x;
        int64_t dy = int64_t{point.y} - p.y;
        int64_t distance = dx * dx + dy * dy;
        if (distance <= best) {
            best = distance;
            bestIndex = static_cast<int64_t>(i);
        }
    }
    return bestIndex;
}

void ZoomPathView(ClientPoint cursor, int32_t width, int32_t height, int32_t wheelDelta) {
    PathView& view = app.pathView;
    PathPoint anchor = ClientToPath(cursor, width, height);
    double zoom = std::clamp(view.zoom * (wheelDelta > 0 ? PATH_ZOOM_IN_STEP : PATH_ZOOM_OUT_STEP),
                             PATH_ZOOM_MIN, PATH_ZOOM_MAX);
    // At a limit the view stays exactly as it was, without rounding drift in the pan.
    if (zoom == view.zoom) return;
    view.zoom = zoom;
    double scale = NonZeroScale();
    view.panX = cursor.x - (anchor.x - (view.minX + view.maxX) / 2) * scale - width / 2.0;
    view.panY = cursor.y - (anchor.y - (view.minY + view.maxY) / 2) * scale - height / 2.0;
}

void BeginPathPan(ClientPoint cursor) {
    PathView& view = app.pathView;
    view.panning = true;
    view.panStartX = cursor.x;
    view.panStartY = cursor.y;
    view.panStartOffsetX = view.panX;
    view.panStartOffsetY = view.panY;
}

void PanPathViewTo(ClientPoint cursor) {
    PathView& view = app.pathView;
    view.panX = view.panStartOffsetX + (cursor.x - view.panStartX);
    view.panY = view.panStartOffsetY + (cursor.y - view.panStartY);
}

void ResetPathView() {
    PathView& view = app.pathView;
    view.zoom = 1.0;
    view.panX = 0.0;
    view.panY = 0.0;
    view.panning = false;
}
