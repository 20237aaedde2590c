// Undo and redo of the macro, read top-down: the bounded history, the swap of the current macro,
// then the steps the rest of the program calls.
#include "macro/Undo.h"

#include <utility>

namespace {

constexpr uint32_t VK_Y_KEY = 0x59;
constexpr uint32_t VK_Z_KEY = 0x5A;

bool OverBounds(const UndoHistory& history) {
    return history.undoSteps.size() + history.redoSteps.size() > history.stepLimit ||
           history.bytes > history.byteLimit;
}

void DropOldestBeyondBounds(UndoHistory& history, size_t keep) {
    while (OverBounds(history) && history.undoSteps.size() > keep) {
        history.bytes -= SnapshotBytes(history.undoSteps.front());
        history.retired.push_back(std::move(history.undoSteps.front()));
        history.undoSteps.pop_front();
    }
}

// Moves `current` onto `to` and the newest step of `from` into `current`.
template <typename From, typename To>
bool Exchange(UndoHistory& history, From& from, To& to, MacroSnapshot& current) {
    if (from.empty()) return false;
    MacroSnapshot step = std::move(from.back());
    from.pop_back();
    std::swap(step, current);
    history.bytes += SnapshotBytes(step) - SnapshotBytes(current);
    to.push_back(std::move(step));
    DropOldestBeyondBounds(history, 0);
    return true;
}

} // namespace

size_t SnapshotBytes(const MacroSnapshot& snapshot) {
    return sizeof(MacroSnapshot) + snapshot.events.capacity() * sizeof(MacroEvent) +
           snapshot.rowTicks.capacity() / 8 + snapshot.pathPoints.capacity() * sizeof(PathPoint) +
           snapshot.pathMoveIndices.capacity() * sizeof(size_t) +
           snapshot.pathBasePoints.capacity() * sizeof(PathPoint);
}

void PushUndoStep(UndoHistory& history, MacroSnapshot&& before) {
    for (MacroSnapshot& step : history.redoSteps) {
        history.bytes -= SnapshotBytes(step);
        history.retired.push_back(std::move(step));
    }
    history.redoSteps.clear();
    history.bytes += SnapshotBytes(before);
    history.undoSteps.push_back(std::move(before));
    DropOldestBeyondBounds(history, 1);
}

void ReleaseRetiredSteps(UndoHistory& history) {
    std::vector<MacroSnapshot>().swap(history.retired);
}

bool StepBack(UndoHistory& history, MacroSnapshot& current) {
    return Exchange(history, history.undoSteps, history.redoSteps, current);
}

bool StepForward(UndoHistory& history, MacroSnapshot& current) {
    return Exchange(history, history.redoSteps, history.undoSteps, current);
}

UndoKeyAction UndoKeyFor(uint32_t vk, bool ctrl, bool shift, bool alt) {
    if (!ctrl || alt) return NoUndoKey;
    if (vk == VK_Z_KEY) return shift ? RedoKey : UndoKey;
    if (vk == VK_Y_KEY && !shift) return RedoKey;
    return NoUndoKey;
}

void SwapMacro(MacroSnapshot& snapshot) {
    {
        std::lock_guard lock(app.macroMutex);
        app.events.swap(snapshot.events);
        app.pathPoints.swap(snapshot.pathPoints);
        app.pathMoveIndices.swap(snapshot.pathMoveIndices);
        app.macroStartPos.swap(snapshot.startPos);
        app.pathBasePoints.swap(snapshot.pathBasePoints);
    }
    app.rowTicks.swap(snapshot.rowTicks);
}

void ReplaceEvents(std::vector<MacroEvent> newEvents, MacroNames namesBefore) {
    // Only this thread writes `events`, so comparing needs no lock.
    if (newEvents == app.events) return;
    MacroSnapshot old;
    old.events = std::move(newEvents);
    SwapMacro(old);
    old.names = std::move(namesBefore);
    ++app.macroRevision;
    // The old macro moves into the history outside the lock; a profile key in the hook only
    // moves vectors here.
    PushUndoStep(app.undoHistory, std::move(old));
}

MacroSnapshot CopyOfMacro() {
    return {
        app.events, app.rowTicks, app.pathPoints, app.pathMoveIndices, app.macroStartPos, app.pathBasePoints,
        {}};
}

void KeepUndoStep(MacroSnapshot&& before) {
    if (before.events == app.events) return;
    ++app.macroRevision;
    PushUndoStep(app.undoHistory, std::move(before));
}

namespace {

bool StepMacro(bool back, MacroNames* shown) {
    if (app.recording || app.playing) return false;
    UndoHistory& history = app.undoHistory;
    MacroSnapshot current;
    SwapMacro(current);
    bool stepped = back ? StepBack(history, current) : StepForward(history, current);
    // The bounds may have dropped the step that just left, when it alone exceeds them.
    bool leftKept = back ? !history.redoSteps.empty() : !history.undoSteps.empty();
    if (stepped && current.names.kept && leftKept && shown) {
        // The step over a load: the names shown now go with the events that just left.
        MacroSnapshot& left = back ? history.redoSteps.back() : history.undoSteps.back();
        if (shown) left.names = std::exchange(*shown, std::move(current.names));
        left.names.kept = true;
    }
    SwapMacro(current);
    if (stepped) ++app.macroRevision;
    return stepped;
}

} // namespace

bool UndoMacroChange(MacroNames* shown) {
    return StepMacro(true, shown);
}

bool RedoMacroChange(MacroNames* shown) {
    return StepMacro(false, shown);
}

bool MacroHasUnsavedChanges(const AppState& state) {
    return state.recording || state.macroRevision != state.savedMacroRevision;
}

void NoteMacroSaved() {
    app.savedMacroRevision = app.macroRevision;
}
