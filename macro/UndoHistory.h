// The history behind undo and redo of the macro: whole macros kept as they were before each
// change, bounded in steps and in bytes, and the keys that step through it. Portable; the app-wide
// steps are macro/MacroUndo.cpp, the keys and the refreshed windows macro/MacroUndo_win.cpp.
#pragma once

#include "app/Records.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

// The oldest steps are dropped beyond either bound.
constexpr size_t UNDO_STEP_LIMIT = 64;
constexpr size_t UNDO_BYTE_LIMIT = size_t{256} << 20;

// Everything one step brings back together: the events with their delays, the list's ticks and
// the path the path editor works on.
struct MacroSnapshot {
    std::vector<MacroEvent> events;
    std::vector<bool> rowTicks;
    std::vector<PathPoint> pathPoints;
    std::vector<size_t> pathMoveIndices;
};

struct UndoHistory {
    std::deque<MacroSnapshot> undoSteps;  // oldest first
    std::vector<MacroSnapshot> redoSteps; // the next redo last
    size_t bytes = 0;                     // held by both lists
    // Dropped steps wait here until ReleaseRetiredSteps: giving back a large macro's memory takes
    // milliseconds, and a profile key replaces the macro inside the keyboard hook.
    std::vector<MacroSnapshot> retired;
    size_t stepLimit = UNDO_STEP_LIMIT;
    size_t byteLimit = UNDO_BYTE_LIMIT;
};

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
