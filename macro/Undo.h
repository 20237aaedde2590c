// Undo and redo of the macro, in one place from the bottom up: the bounded history of whole
// macros, the swap of the current macro under the macro lock, and the steps the program takes.
// Every change of the events keeps the macro as it was; a step brings back events, ticks and path
// together. Portable; the keys and the refreshed windows are app/UndoKeys_win.cpp.
#pragma once

#include "core/AppState.h"

size_t SnapshotBytes(const MacroSnapshot& snapshot);

// Keeps `before` as the newest undo step, forgets every redo step and drops the oldest steps
// beyond the bounds (the newest always stays). Moves only: a step never copies a macro.
void PushUndoStep(UndoHistory& history, MacroSnapshot&& before);
// Exchanges `current` with the newest undo step (redo step); `current` goes onto the other
// list. False, with nothing changed, when there is no such step.
bool StepBack(UndoHistory& history, MacroSnapshot& current);
bool StepForward(UndoHistory& history, MacroSnapshot& current);
// Frees the dropped steps; called from the message loop, never from the hook.
void ReleaseRetiredSteps(UndoHistory& history);

enum UndoKeyAction { NoUndoKey = 0, UndoKey = 1, RedoKey = 2 };
// Ctrl+Z undoes; Ctrl+Y and Ctrl+Shift+Z redo. Alt (with Ctrl it is AltGr on many layouts)
// types characters and is left alone.
UndoKeyAction UndoKeyFor(uint32_t vk, bool ctrl, bool shift, bool alt);

// Exchanges the macro's events, ticks and path with `snapshot`, under the macro lock.
void SwapMacro(MacroSnapshot& snapshot);
// Replaces the current macro as a whole, under the macro lock. The old events, ticks and path
// move into the undo history unchanged, with `namesBefore` when a load passes the names shown
// until now; new events equal to the old change nothing.
void ReplaceEvents(std::vector<MacroEvent> newEvents, MacroNames namesBefore = {});

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

// Whether the macro changed since it was last saved or loaded; a recording counts as a change.
bool MacroHasUnsavedChanges(const AppState& state);
// The macro as it is now was saved or loaded.
void NoteMacroSaved();

// Both refuse, changing nothing, during a recording or a playback, and when there is no step.
// `shown` holds the names shown now; when the step crosses a load it is replaced by the names
// that go with the restored events, `kept` set, and the step back over it will restore these.
bool UndoMacroChange(MacroNames* shown = nullptr);
bool RedoMacroChange(MacroNames* shown = nullptr);
