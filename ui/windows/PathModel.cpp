// The mouse path model: building the path from the Move events, smoothing, the drag falloff and
// writing the reshaped path back into the macro.
#include "ui/windows/PathModel.h"

#include "core/AppState.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>

namespace {

// One averaging pass, in place: each inner point becomes the mean of itself and its two
// neighbours as they were before the pass, so `previous` carries the left neighbour's old value.
void SmoothOnce(std::vector<PathPoint>& points) {
    size_t n = points.size();
    if (n < 3) return;
    PathPoint previous = points[0];
    for (size_t i = 1; i + 1 < n; ++i) {
        PathPoint current = points[i];
        points[i].x = (current.x + previous.x + points[i + 1].x) / 3;
        points[i].y = (current.y + previous.y + points[i + 1].y) / 3;
        previous = current;
    }
}

// Nearest integer, halves away from zero, kept inside int32 so that a far drag cannot overflow.
int32_t RoundToInt32(double value) {
    constexpr double low = std::numeric_limits<int32_t>::min();
    constexpr double high = std::numeric_limits<int32_t>::max();
    double rounded = std::round(value);
    if (!(rounded >= low)) return std::isnan(rounded) ? 0 : std::numeric_limits<int32_t>::min();
    if (rounded > high) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(rounded);
}

} // namespace

void BuildPath() {
    std::vector<PathPoint> points{PathPoint{0, 0}};
    std::vector<size_t> moveIndices;
    double x = 0, y = 0;
    // Only this thread writes `events`, so reading it here needs no lock.
    for (size_t i = 0; i < app.events.size(); ++i) {
        const MacroEvent& event = app.events[i];
        if (event.type != Move) continue;
        x += static_cast<double>(event.dx);
        y += static_cast<double>(event.dy);
        points.push_back({x, y});
        moveIndices.push_back(i);
    }
    SmoothOnce(points);
    SmoothOnce(points);
    std::vector<PathPoint> base = points;
    {
        std::lock_guard lock(app.macroMutex);
        app.pathPoints.swap(points);
        app.pathMoveIndices.swap(moveIndices);
        app.pathBasePoints.swap(base);
    }
    // The old vectors are freed here, outside the lock.
    app.pathEdit.selection.clear();
}

void BeginDrag(size_t index) {
    PathEditState& edit = app.pathEdit;
    size_t n = app.pathPoints.size();
    if (index >= n) return;
    edit.selection.assign(1, index);
    edit.dragSlot = 0;
    edit.dragSnapshot = app.pathPoints;
    edit.falloffRadius =
        std::clamp(static_cast<double>(n) * DRAG_REACH_PER_POINT, DRAG_REACH_MIN, DRAG_REACH_MAX);
    edit.dragging = true;
}

void DragTo(double x, double y) {
    PathEditState& edit = app.pathEdit;
    std::vector<PathPoint>& points = app.pathPoints;
    const std::vector<PathPoint>& snapshot = edit.dragSnapshot;
    if (!edit.dragging || edit.dragSlot < 0 || static_cast<size_t>(edit.dragSlot) >= edit.selection.size())
        return;
    // A snapshot of another length belongs to a path that was rebuilt during the drag.
    if (snapshot.empty() || snapshot.size() != points.size()) return;
    size_t k = edit.selection[static_cast<size_t>(edit.dragSlot)];
    size_t n = points.size();
    if (k >= n) return;

    double deltaX = x - snapshot[k].x;
    double deltaY = y - snapshot[k].y;
    double pull = std::sqrt(deltaX * deltaX + deltaY * deltaY);
    double reach = edit.falloffRadius * std::min(DRAG_REACH_GROWTH_MAX, 1.0 + pull / DRAG_PULL_PER_REACH);

    // Only points within the reach move, so only that window of the path is deformed.
    size_t span = !(reach > 0) ? 0 : reach >= static_cast<double>(n) ? n : static_cast<size_t>(reach);
    size_t first = k > span ? k - span : 0;
    size_t last = std::min(n - 1, k + span);
    // The shift is smoothed, not the path: the rest of the path stays exactly as it was. Two
    // passes carry it two points further, so three beyond the reach it is still zero, and the
    // ends of that window stand still as the path's own ends do.
    size_t low = first > 3 ? first - 3 : 0;
    size_t high = std::min(n - 1, last + 3);
    std::vector<PathPoint> shift(high - low + 1, PathPoint{0, 0});
    for (size_t i = first; i <= last; ++i) {
        double d = i > k ? static_cast<double>(i - k) : static_cast<double>(k - i);
        if (d > reach) continue;
        double share = reach > 0 ? 1.0 - d / reach : 1.0;
        double weight = share * share;
        shift[i - low] = {weight * deltaX, weight * deltaY};
    }
    SmoothOnce(shift);
    SmoothOnce(shift);
    std::copy(snapshot.begin(), snapshot.end(), points.begin());
    for (size_t i = low; i <= high; ++i) {
        points[i].x += shift[i - low].x;
        points[i].y += shift[i - low].y;
    }
}

void EndDrag() {
    app.pathEdit.dragging = false;
    app.pathEdit.dragSnapshot.clear();
}

void ResetEditState() {
    PathEditState& edit = app.pathEdit;
    edit.dragSlot = -1;
    edit.dragging = false;
    edit.dragSnapshot.clear();
    edit.falloffRadius = 0;
}

bool WritePathToEvents() {
    const std::vector<PathPoint>& points = app.pathPoints;
    const std::vector<PathPoint>& base = app.pathBasePoints;
    const std::vector<size_t>& moveIndices = app.pathMoveIndices;
    if (moveIndices.empty() || points.size() != moveIndices.size() + 1 || base.size() != points.size())
        return false;
    // Each point's shift is rounded on its own, so every point lands on its recorded position plus
    // its own rounded shift: no rounding error travels along the path.
    auto shiftX = [&](size_t k) { return std::round(points[k].x - base[k].x); };
    auto shiftY = [&](size_t k) { return std::round(points[k].y - base[k].y); };
    {
        std::lock_guard lock(app.macroMutex);
        for (size_t j = 0; j < moveIndices.size(); ++j) {
            size_t e = moveIndices[j];
            if (e >= app.events.size() || app.events[e].type != Move) continue;
            MacroEvent& move = app.events[e];
            move.dx = RoundToInt32(move.dx + shiftX(j + 1) - shiftX(j));
            move.dy = RoundToInt32(move.dy + shiftY(j + 1) - shiftY(j));
        }
    }
    // Applied shifts are part of the macro now; a second Apply adds nothing.
    app.pathBasePoints = points;
    return true;
}
