// Drag step cost of the path editor: milliseconds per DragTo on long paths, so a drag keeps up
// with the screen (goal: under 8 ms per step at 100,000 points).
#include "core/AppState.h"
#include "ui/windows/PathModel.h"

#include <chrono>
#include <cmath>
#include <cstdio>

int main() {
    for (size_t moves : {10'000u, 100'000u, 1'000'000u}) {
        ResetAppState();
        app.events.reserve(moves);
        for (size_t i = 0; i < moves; ++i) {
            auto dx = static_cast<int32_t>(std::lround(3 * std::sin(i * 0.01)));
            auto dy = static_cast<int32_t>(std::lround(3 * std::cos(i * 0.013)));
            app.events.push_back({Move, dx, dy, 0, 0, 8});
        }
        auto start = std::chrono::steady_clock::now();
        BuildPath();
        double buildMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

        size_t k = app.pathPoints.size() / 2;
        BeginDrag(k);
        PathPoint origin = app.pathEdit.dragSnapshot[k];
        const int steps = moves >= 1'000'000 ? 60 : 300;
        start = std::chrono::steady_clock::now();
        for (int step = 0; step < steps; ++step)
            DragTo(origin.x + step, origin.y - step * 0.5);
        double dragMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        EndDrag();

        start = std::chrono::steady_clock::now();
        WritePathToEvents();
        double applyMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        std::printf("%8zu points: DragTo %.3f ms per step, BuildPath %.2f ms, apply %.2f ms\n",
                    app.pathPoints.size(), dragMs / steps, buildMs, applyMs);
    }
    return 0;
}
