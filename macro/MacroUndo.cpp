// The current macro's undo and redo steps over the history in UndoHistory.cpp.
#include "macro/MacroUndo.h"

namespace {

bool StepMacro(bool (*step)(UndoHistory&, MacroSnapshot&)) {
    if (app.recording || app.playing) return false;
    MacroSnapshot current;
    SwapMacro(current);
    bool stepped = step(app.undoHistory, current);
    SwapMacro(current);
    return stepped;
}

} // namespace

MacroSnapshot CopyOfMacro() {
    return {app.events, app.rowTicks, app.pathPoints, app.pathMoveIndices};
}

void KeepUndoStep(MacroSnapshot&& before) {
    if (before.events == app.events) return;
    PushUndoStep(app.undoHistory, std::move(before));
}

bool UndoMacroChange() {
    return StepMacro(StepBack);
}

bool RedoMacroChange() {
    return StepMacro(StepForward);
}
