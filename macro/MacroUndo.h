// Undo and redo of the current macro: every change of the events keeps the macro as it was, and
// a step brings back events, ticks and path together. Portable; the keys are MacroUndo_win.cpp.
#pragma once

#include "app/AppState.h"

// A copy of the macro before an edit in place (a delay, the path editor's Apply).
MacroSnapshot CopyOfMacro();
// Keeps `before` as an undo step when the events differ from it.
void KeepUndoStep(MacroSnapshot&& before);

// Both refuse, changing nothing, during a recording or a playback, and when there is no step.
bool UndoMacroChange();
bool RedoMacroChange();
