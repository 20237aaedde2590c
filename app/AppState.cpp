// Definition of the process-wide state record and the monotonic clock it starts with.
#include "app/AppState.h"

#include <chrono>
#include <memory>

AppState app;

uint64_t MonotonicMs() {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

void ResetAppState() {
    std::destroy_at(&app);
    std::construct_at(&app);
}

void SwapMacro(MacroSnapshot& snapshot) {
    {
        std::lock_guard lock(app.macroMutex);
        app.events.swap(snapshot.events);
        app.pathPoints.swap(snapshot.pathPoints);
        app.pathMoveIndices.swap(snapshot.pathMoveIndices);
        app.provisionalTaps = MakeNoProvisionalTaps(); // they pointed into the old macro
    }
    app.rowTicks.swap(snapshot.rowTicks);
}

void ReplaceEvents(std::vector<MacroEvent> newEvents) {
    // Only this thread writes `events`, so comparing needs no lock.
    if (newEvents == app.events) return;
    MacroSnapshot old;
    old.events = std::move(newEvents);
    SwapMacro(old);
    // The old macro moves into the history outside the lock; a profile key in the hook only
    // moves vectors here.
    PushUndoStep(app.undoHistory, std::move(old));
}
