// The history behind undo and redo of the macro as plain data: whole macros kept as they were
// before each change, bounded in steps and in bytes. Everything that acts on it is macro/Undo.cpp.
#pragma once

#include "core/MacroRecords.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// The oldest steps are dropped beyond either bound.
constexpr size_t UNDO_STEP_LIMIT = 64;
constexpr size_t UNDO_BYTE_LIMIT = size_t{256} << 20;

// What the main window names a loaded macro by: the Output box's text and the active profile with
// its label. The undo step of a load keeps them (`kept`), so that stepping over a load brings back
// the name that goes with the events, and Save never writes older events under a newer name.
struct MacroNames {
    bool kept = false;
    std::wstring output;
    std::wstring profileLabel;
    int32_t activeProfile = -1;
};

// Everything one step brings back together: the events with their delays, the list's ticks, the
// path the path editor works on and where the recording started.
struct MacroSnapshot {
    std::vector<MacroEvent> events;
    std::vector<bool> rowTicks;
    std::vector<PathPoint> pathPoints;
    std::vector<size_t> pathMoveIndices;
    std::optional<ScreenPoint> startPos;
    std::vector<PathPoint> pathBasePoints;
    MacroNames names;
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
