// Undo and redo of the current macro: every change of the events keeps the macro as it was, and
// a step brings back events, ticks and path together. Portable; the keys are MacroUndo_win.cpp.
#pragma once

#include "app/AppState.h"

// A copy of the macro before an edit in place (a delay, the path editor's Apply).
MacroSnapshot CopyOfMacro();
// Keeps `before` as an undo step when the events differ from it.
void KeepUndoStep(MacroSnapshot&& before);

// Runs `edit`, which changes the macro in place and says whether it did, keeping the macro as it
// was for undo. Returns what `edit` returned.
template <typename Edit> bool EditMacroKeepingUndo(Edit edit) {
    MacroSnapshot before = CopyOfMacro();
    if (!edit()) return false;
    KeepUndoStep(std::move(before));
    return true;
}

// Both refuse, changing nothing, during a recording or a playback, and when there is no step.
bool UndoMacroChange();
bool RedoMacroChange();
