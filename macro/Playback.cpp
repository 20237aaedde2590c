// The playback passes, their waits and the records they send. Runs on the playback thread except
// PreparePlayback; reads the macro only under `app.macroMutex`, one event at a time.
#include "macro/Playback.h"

#include <algorithm>
#include <mutex>

namespace {

struct ButtonFlags {
    uint32_t down;
    uint32_t up;
    uint32_t mouseData;
};

constexpr ButtonFlags BUTTON_FLAGS[MOUSE_BUTTON_COUNT] = {
    {MOUSE_FLAG_LEFTDOWN, MOUSE_FLAG_LEFTUP, 0},
    {MOUSE_FLAG_RIGHTDOWN, MOUSE_FLAG_RIGHTUP, 0},
    {MOUSE_FLAG_MIDDLEDOWN, MOUSE_FLAG_MIDDLEUP, 0},
    {MOUSE_FLAG_XDOWN, MOUSE_FLAG_XUP, MOUSE_DATA_XBUTTON1},
    {MOUSE_FLAG_XDOWN, MOUSE_FLAG_XUP, MOUSE_DATA_XBUTTON2},
};

// Waits one event's delay in 1 ms sleeps, testing for a stop before each. False when stopped.
bool WaitForEvent(const PlaybackIo& io, PassSchedule& schedule, uint64_t lengthMs) {
    double deadline = AdvanceSchedule(schedule, io.nowMs(), lengthMs);
    for (;;) {
        if (PlaybackInterrupted()) return false;
        if (io.nowMs() >= deadline) return true;
        io.sleepOneMs();
    }
}

// The tracked cursor runs off the screen with the path; a long enough macro must not wrap it.
int32_t SaturatingAdd(int32_t value, int32_t step) {
    int64_t sum = static_cast<int64_t>(value) + step;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

// Sends one movement as a burst of small steps: relative input in FreeMouse, otherwise the
// confined cursor is carried along the path. False when a stop came in the middle of it.
bool InjectMove(const PlaybackIo& io, const MacroEvent& event, std::optional<ScreenPoint>& trackedCursor) {
    bool relative = app.mouseMode == FreeMouse;
    int32_t rx = event.dx;
    int32_t ry = event.dy;
    while (rx != 0 || ry != 0) {
        // A movement read from a file can be billions of units long; stay stoppable.
        if (PlaybackInterrupted()) return false;
        ScreenPoint step = NextMoveStep(rx, ry);
        if (relative) {
            io.sendMouse({step.x, step.y, 0, MOUSE_FLAG_MOVE});
        } else {
            if (!trackedCursor) trackedCursor = io.cursorPos();
            trackedCursor->x = SaturatingAdd(trackedCursor->x, step.x);
            trackedCursor->y = SaturatingAdd(trackedCursor->y, step.y);
            io.confineCursor(*trackedCursor);
            io.setCursorPos(*trackedCursor);
        }
        rx -= step.x;
        ry -= step.y;
    }
    return true;
}

// Writes the records of the modifiers going down (Shift first) or up (Shift last); returns their count.
size_t ModifierRecords(KeyInputRecord* out, uint32_t modifiers, bool up) {
    size_t count = 0;
    for (int i = 0; i < 4; ++i) {
        int modifier = up ? 3 - i : i;
        if (modifiers & (MODIFIER_SHIFT << modifier)) out[count++] = {MODIFIER_VKS[modifier], up};
    }
    return count;
}

void SendModifiers(const PlaybackIo& io, uint32_t modifiers, bool up) {
    KeyInputRecord records[4];
    if (size_t count = ModifierRecords(records, modifiers, up)) io.sendKeys(records, count);
}

// A key tap inside the modifiers it was pressed with, in one call so that no other input falls
// between them. Modifiers the playback already holds for a button are left as they are.
void InjectKey(const PlaybackIo& io, const MacroEvent& event, const PlaybackRun& run) {
    uint32_t modifiers = event.vk & MODIFIER_BITS & ~run.modifiersHeld;
    uint16_t key = static_cast<uint16_t>(event.vk & KEY_CODE_BITS);
    KeyInputRecord records[10];
    size_t count = ModifierRecords(records, modifiers, false);
    records[count++] = {key, false};
    records[count++] = {key, true};
    count += ModifierRecords(records + count, modifiers, true);
    // Windows may insert only the first records of a call; a modifier must not stay down.
    if (!io.sendKeys(records, count)) SendModifiers(io, modifiers, true);
}

// Lets go of the modifiers that no held button was pressed with any more.
void ReleaseUnneededModifiers(const PlaybackIo& io, PlaybackRun& run) {
    uint32_t needed = 0;
    for (int slot = 0; slot < MOUSE_BUTTON_COUNT; ++slot) {
        if (run.buttonHeld[slot]) needed |= run.buttonModifiers[slot];
    }
    SendModifiers(io, run.modifiersHeld & ~needed, true);
    run.modifiersHeld &= needed;
}

// A button pressed with modifiers holds them until its release.
void InjectButton(const PlaybackIo& io, const MacroEvent& event, PlaybackRun& run) {
    std::optional<MouseInputRecord> record = MouseButtonRecord(event.type, event.button);
    if (!record) return;
    int slot = MouseButtonSlot(event.button);
    bool down = event.type == ButtonDown;
    if (down) {
        uint32_t modifiers = event.vk & MODIFIER_BITS;
        SendModifiers(io, modifiers & ~run.modifiersHeld, false);
        run.modifiersHeld |= modifiers;
        run.buttonModifiers[slot] = modifiers;
    }
    io.sendMouse(*record);
    run.buttonHeld[slot] = down;
    if (!down) ReleaseUnneededModifiers(io, run);
}

// After a stop nothing the playback pressed may stay logically held.
void ReleaseHeldButtons(const PlaybackIo& io, PlaybackRun& run) {
    for (int slot = 0; slot < MOUSE_BUTTON_COUNT; ++slot) {
        if (!run.buttonHeld[slot]) continue;
        const ButtonFlags& flags = BUTTON_FLAGS[slot];
        io.sendMouse({0, 0, flags.mouseData, flags.up});
        run.buttonHeld[slot] = false;
    }
}

} // namespace

int MouseButtonSlot(uint32_t button) {
    for (int slot = 0; slot < MOUSE_BUTTON_COUNT; ++slot) {
        if (button == BUTTON_PRESS_FLAGS[slot] || button == BUTTON_RELEASE_FLAGS[slot]) return slot;
    }
    return -1;
}

std::optional<MouseInputRecord> MouseButtonRecord(int32_t type, uint32_t button) {
    if (type != ButtonDown && type != ButtonUp) return std::nullopt;
    int slot = MouseButtonSlot(button);
    if (slot < 0) return std::nullopt;
    const ButtonFlags& flags = BUTTON_FLAGS[slot];
    return MouseInputRecord{0, 0, flags.mouseData, type == ButtonDown ? flags.down : flags.up};
}

ScreenPoint NextMoveStep(int32_t rx, int32_t ry) {
    return {std::clamp(rx, -MOVE_STEP_LIMIT, MOVE_STEP_LIMIT),
            std::clamp(ry, -MOVE_STEP_LIMIT, MOVE_STEP_LIMIT)};
}

bool EventWaits(const MacroEvent& event) {
    if (event.type == Move) return event.delayMs >= MOUSE_DELAY_FLOOR_MS;
    return event.delayMs != 0;
}

uint64_t WaitLengthMs(uint32_t delayMs, double speed) {
    double scaled = static_cast<double>(delayMs) * speed;
    // Also catches a speed that is negative or not a number.
    if (!(scaled >= 1.0)) return 1;
    return static_cast<uint64_t>(scaled);
}

double AdvanceSchedule(PassSchedule& schedule, double nowMs, uint64_t lengthMs) {
    schedule.dueMs = std::max(schedule.dueMs, nowMs - CATCH_UP_LIMIT_MS) + static_cast<double>(lengthMs);
    return schedule.dueMs;
}

std::vector<int32_t> BuildPathIndexOfEvent(size_t eventCount, const std::vector<size_t>& moveIndices,
                                           size_t pointCount) {
    std::vector<int32_t> table(eventCount, -1);
    if (moveIndices.empty() || pointCount == 0) return table;
    for (size_t j = 0; j < moveIndices.size(); ++j) {
        if (moveIndices[j] < eventCount) table[moveIndices[j]] = static_cast<int32_t>(j + 1);
    }
    return table;
}

bool PlaybackInterrupted() {
    return app.stopRequested || !app.masterEnabled || !app.holdStateOn;
}

bool PreparePlayback(const PlaybackIo& io) {
    // This runs on the only thread that writes `events`, so its size needs no lock here.
    if (!app.masterEnabled || !app.holdStateOn || app.playing || app.events.empty()) return false;
    app.stopRequested = false;
    int32_t mode = app.mouseMode;
    ScreenPoint start;
    if (mode == CenterMouse) {
        start = io.screenCenter();
        io.setCursorPos(start);
    } else {
        start = io.cursorPos();
    }
    app.playbackStartPoint = start;
    if (mode == CenterMouse || mode == LockMouse)
        io.confineCursor(start);
    else
        io.freeCursor();
    return true;
}

bool LaunchPlayback(const PlaybackIo& io, bool (*startThread)(void* parameter), void* parameter) {
    if (!PreparePlayback(io)) return false;
    if (!startThread(parameter)) {
        io.freeCursor();
        return false;
    }
    app.playing = true;
    return true;
}

bool RunPlaybackPass(const PlaybackIo& io, PlaybackRun& run) {
    std::vector<int32_t> pathIndexOfEvent;
    {
        std::lock_guard lock(app.macroMutex);
        if (app.events.empty()) return true;
        pathIndexOfEvent =
            BuildPathIndexOfEvent(app.events.size(), app.pathMoveIndices, app.pathPoints.size());
    }
    app.playbackPathIndex = -1;
    std::optional<ScreenPoint> trackedCursor;
    if (app.mouseMode != FreeMouse) trackedCursor = app.playbackStartPoint;
    PassSchedule schedule{io.nowMs()};

    for (size_t i = 0;; ++i) {
        // The macro may be edited or replaced while it plays: copy one event at a time.
        MacroEvent event;
        size_t pointCount;
        {
            std::lock_guard lock(app.macroMutex);
            if (i >= app.events.size()) return true;
            event = app.events[i];
            pointCount = app.pathPoints.size();
        }
        if (PlaybackInterrupted()) return false;
        if (EventWaits(event) && !WaitForEvent(io, schedule, WaitLengthMs(event.delayMs, app.speed)))
            return false;
        if (app.stopRequested) return false;

        switch (event.type) {
        case Move: {
            int32_t pathIndex = i < pathIndexOfEvent.size() ? pathIndexOfEvent[i] : -1;
            if (app.pathEditorWindow.load() && pathIndex >= 0 &&
                static_cast<size_t>(pathIndex) < pointCount) {
                app.playbackPathIndex = pathIndex;
                io.repaintPathEditor();
            }
            if (!InjectMove(io, event, trackedCursor)) return false;
            break;
        }
        case ButtonDown:
        case ButtonUp:
            InjectButton(io, event, run);
            break;
        case Key:
            InjectKey(io, event, run);
            break;
        default:
            break;
        }
    }
}

void RunPlayback(const PlaybackIo& io) {
    // StartPlayback has already cleared `stopRequested`; clearing it again here would lose a stop
    // pressed between the thread's creation and its first instruction.
    PlaybackRun run;
    bool stopped = false;
    if (app.playMode == Once) {
        stopped = !RunPlaybackPass(io, run);
    } else {
        for (;;) {
            bool hadEvents;
            {
                std::lock_guard lock(app.macroMutex);
                hadEvents = !app.events.empty();
            }
            if (!RunPlaybackPass(io, run) || PlaybackInterrupted()) {
                stopped = true;
                break;
            }
            if (app.playMode == Once) break;
            // A macro emptied while it loops would otherwise spin this thread at full speed.
            if (!hadEvents) io.sleepOneMs();
        }
    }
    if (stopped) ReleaseHeldButtons(io, run);
    // A button the macro leaves pressed stays pressed, but never a modifier.
    SendModifiers(io, run.modifiersHeld, true);
    app.playbackPathIndex = -1;
    io.repaintPathEditor();
    io.postPlaybackDone();
}
