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
           snapshot.pathMoveIndices.capacity() * sizeof(size_t);
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
    ++app.macroRevision;
    // The old macro moves into the history outside the lock; a profile key in the hook only
    // moves vectors here.
    PushUndoStep(app.undoHistory, std::move(old));
}

MacroSnapshot CopyOfMacro() {
    return {app.events, app.rowTicks, app.pathPoints, app.pathMoveIndices};
}

void KeepUndoStep(MacroSnapshot&& before) {
    if (before.events == app.events) return;
    ++app.macroRevision;
    PushUndoStep(app.undoHistory, std::move(before));
}

namespace {

bool StepMacro(bool (*step)(UndoHistory&, MacroSnapshot&)) {
    if (app.recording || app.playing) return false;
    MacroSnapshot current;
    SwapMacro(current);
    bool stepped = step(app.undoHistory, current);
    SwapMacro(current);
    if (stepped) ++app.macroRevision;
    return stepped;
}

} // namespace

bool UndoMacroChange() {
    return StepMacro(StepBack);
}

bool RedoMacroChange() {
    return StepMacro(StepForward);
}

bool MacroHasUnsavedChanges(const AppState& state) {
    return state.recording || state.macroRevision != state.savedMacroRevision;
}

void NoteMacroSaved() {
    app.savedMacroRevision = app.macroRevision;
}
