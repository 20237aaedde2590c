// The playback passes, their waits and the records they send. Runs on the playback thread except
// PreparePlayback; reads the macro only under `app.macroMutex`, one event at a time.
#include "macro/Playback.h"

#include <algorithm>
#include <mutex>
#include <utility>

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

void Rest(const PlaybackIo& io, PlaybackRun& run, double nextBurstMs = INJECTION_BURST_MS) {
    io.sleepOneMs();
    ++run.sleeps;
    run.restedAtMs = io.nowMs();
    run.burstLimitMs = nextBurstMs;
}

// Whether the window has caught up since last asked: its queue ran empty or it waits for messages.
bool InterfaceCaughtUp(PlaybackRun& run) {
    uint64_t drains = app.interfaceQueueDrains.load(std::memory_order_relaxed);
    bool caughtUp = drains != run.seenDrains || app.interfaceWaiting;
    run.seenDrains = drains;
    return caughtUp;
}

// Rests while the window has not emptied its queue for INTERFACE_LAG_LIMIT_MS. Everything injected
// reaches it (the hook sees every key; under Wine each mouse record also comes back as display
// events), and hotkeys wait behind what it has not handled yet. A window that stays busy (a long
// load) is given up on after INTERFACE_GIVE_UP_MS until it is seen caught up again.
void AwaitInterface(const PlaybackIo& io, PlaybackRun& run) {
    if (InterfaceCaughtUp(run)) {
        run.caughtUpMs = io.nowMs();
        run.interfaceStalled = false;
        return;
    }
    if (run.interfaceStalled || io.nowMs() - run.caughtUpMs < INTERFACE_LAG_LIMIT_MS) return;
    double restStartMs = io.nowMs();
    while (!PlaybackInterrupted()) {
        Rest(io, run);
        if (InterfaceCaughtUp(run)) {
            run.caughtUpMs = io.nowMs();
            return;
        }
        if (io.nowMs() - restStartMs >= INTERFACE_GIVE_UP_MS) {
            run.interfaceStalled = true;
            return;
        }
    }
}

// Before each injection call: a burst that has gone on for its limit rests first, and so does
// injection while the window lags.
void PaceInjection(const PlaybackIo& io, PlaybackRun& run) {
    if (io.nowMs() - run.restedAtMs >= run.burstLimitMs) Rest(io, run);
    AwaitInterface(io, run);
}

// Windows inserted less than it was given (the secure desktop is up): the playback ends as a
// stop does. Returns false, as an interrupted step does.
bool RefuseInput() {
    app.playbackInputRefused = true;
    return false;
}

// Sends the relative steps gathered so far in one call, paced like any other. False when a stop
// came first or Windows refused them.
bool SendPendingSteps(const PlaybackIo& io, PlaybackRun& run) {
    if (run.pendingCount == 0) return true;
    PaceInjection(io, run);
    // A movement read from a file can be billions of units long; stay stoppable.
    if (PlaybackInterrupted()) return false;
    size_t count = std::exchange(run.pendingCount, 0);
    return io.sendMouse(run.pendingSteps.data(), count) || RefuseInput();
}

// Waits one event's delay in 1 ms sleeps, testing for a stop before each. False when stopped.
// A wait behind its schedule still sleeps once: some programs merge input that arrives at once, so
// a waited event must follow the one before it by a real gap.
// A wait that the speed makes shorter than a millisecond counts on the schedule at its exact
// length and sleeps only while its deadline is ahead: at speed 0.05 two or three recorded mouse
// packets go out per millisecond, as the speed asks.
bool WaitForEvent(const PlaybackIo& io, PlaybackRun& run, PassSchedule& schedule, uint32_t delayMs) {
    double length = ScheduledWaitMs(delayMs, app.speed);
    double deadline = AdvanceSchedule(schedule, io.nowMs(), length);
    for (bool slept = length < 1.0;; slept = true) {
        if (PlaybackInterrupted()) return false;
        if (slept && io.nowMs() >= deadline) return true;
        if (!SendPendingSteps(io, run)) return false;
        Rest(io, run, WAITED_BURST_MS);
    }
}

// The tracked cursor runs off the screen with the path; a long enough macro must not wrap it.
int32_t SaturatingAdd(int32_t value, int32_t step) {
    int64_t sum = static_cast<int64_t>(value) + step;
    return static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

// While a movement plays, the cursor is confined to the rectangle it spans, and when the playback
// ends to the pixel where the path ends. Under Wine a confinement costs the window's thread a
// pointer grab, so movements without a wait between them share a confinement that already holds
// them: a loop that never waits would otherwise grab the pointer thousands of times a second and
// starve the window. The steps inside still set the cursor one by one.
void ConfineTo(const PlaybackIo& io, PlaybackRun& run, ScreenPoint first, ScreenPoint last) {
    if (run.confinement) {
        const auto& [heldFirst, heldLast] = *run.confinement;
        if (first.x >= heldFirst.x && first.y >= heldFirst.y && last.x <= heldLast.x && last.y <= heldLast.y)
            return;
    }
    io.confineCursor(first, last);
    run.confinement = {first, last};
}

void ConfineToMovement(const PlaybackIo& io, PlaybackRun& run, ScreenPoint from, const MacroEvent& event) {
    ScreenPoint to{SaturatingAdd(from.x, event.dx), SaturatingAdd(from.y, event.dy)};
    ConfineTo(io, run, {std::min(from.x, to.x), std::min(from.y, to.y)},
              {std::max(from.x, to.x), std::max(from.y, to.y)});
}

// A monitor removed since the recording leaves its positions nowhere: they go to the nearest
// monitor, which the status line reports.
ScreenPoint OnScreen(const PlaybackIo& io, ScreenPoint point) {
    ScreenPoint nearest = io.nearestOnScreen(point);
    if (nearest != point) app.playbackPositionClamped = true;
    return nearest;
}

// ScreenMouse makes a click on the pixel where it was recorded, whatever the movements before it
// added up to: their drift (pointer acceleration, a different start) never reaches a click. The
// carried cursor goes on from there.
void PlaceCursorForClick(const PlaybackIo& io, PlaybackRun& run, const MacroEvent& event,
                         std::optional<ScreenPoint>& trackedCursor) {
    ScreenPoint at = OnScreen(io, {event.dx, event.dy});
    ConfineTo(io, run, at, at); // the confinement of the last movement would hold the cursor off it
    io.setCursorPos(at);
    trackedCursor = at;
}

// Sends one movement as small steps: in FreeMouse relative steps, gathered to go out with the
// moves that fall due with them (each injection call costs far more than its records), otherwise
// the confined cursor is carried along the path. False when a stop came in the middle of it.
bool InjectMove(const PlaybackIo& io, PlaybackRun& run, const MacroEvent& event,
                std::optional<ScreenPoint>& trackedCursor) {
    int32_t rx = event.dx;
    int32_t ry = event.dy;
    if (!CarriesCursor(app.mouseMode)) {
        while (rx != 0 || ry != 0) {
            if (run.pendingCount == run.pendingSteps.size() && !SendPendingSteps(io, run)) return false;
            ScreenPoint step = NextMoveStep(rx, ry);
            run.pendingSteps[run.pendingCount++] = {step.x, step.y, 0, MOUSE_FLAG_MOVE};
            rx -= step.x;
            ry -= step.y;
        }
        return true;
    }
    if (!SendPendingSteps(io, run)) return false; // the mode was changed while it played
    if (event.dx != 0 || event.dy != 0) {
        if (!trackedCursor) trackedCursor = io.cursorPos();
        ConfineToMovement(io, run, *trackedCursor, event);
    }
    while (rx != 0 || ry != 0) {
        PaceInjection(io, run);
        if (PlaybackInterrupted()) return false;
        ScreenPoint step = NextMoveStep(rx, ry);
        trackedCursor->x = SaturatingAdd(trackedCursor->x, step.x);
        trackedCursor->y = SaturatingAdd(trackedCursor->y, step.y);
        io.setCursorPos(*trackedCursor);
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
// between them. Modifiers the playback already holds for a button are left as they are. A held
// press (KEY_HELD) goes down alone and stays down until its KeyUp.
bool InjectKey(const PlaybackIo& io, const MacroEvent& event, PlaybackRun& run) {
    uint16_t key = static_cast<uint16_t>(event.vk & KEY_CODE_BITS);
    if (event.vk & KEY_HELD) {
        KeyInputRecord press{key, false};
        if (!io.sendKeys(&press, 1)) return RefuseInput();
        if (std::find(run.keysHeld.begin(), run.keysHeld.end(), key) == run.keysHeld.end())
            run.keysHeld.push_back(key);
        return true;
    }
    uint32_t modifiers = event.vk & MODIFIER_BITS & ~run.modifiersHeld;
    KeyInputRecord records[10];
    size_t count = ModifierRecords(records, modifiers, false);
    records[count++] = {key, false};
    records[count++] = {key, true};
    count += ModifierRecords(records + count, modifiers, true);
    if (io.sendKeys(records, count)) return true;
    // Windows may insert only the first records of a call: the key and its modifiers may be down.
    run.modifiersHeld |= modifiers;
    run.keysHeld.push_back(key);
    return RefuseInput();
}

// A release that Windows refuses leaves the key held, to be released at the end.
bool InjectKeyUp(const PlaybackIo& io, const MacroEvent& event, PlaybackRun& run) {
    KeyInputRecord release{static_cast<uint16_t>(event.vk & KEY_CODE_BITS), true};
    if (!io.sendKeys(&release, 1)) return RefuseInput();
    std::erase(run.keysHeld, release.vk);
    return true;
}

// A wheel turn as recorded: vertical, then horizontal, each with its delta in the mouse data.
bool InjectWheel(const PlaybackIo& io, const MacroEvent& event) {
    MouseInputRecord vertical{0, 0, static_cast<uint32_t>(event.dy), MOUSE_FLAG_WHEEL};
    if (event.dy != 0 && !io.sendMouse(&vertical, 1)) return RefuseInput();
    MouseInputRecord horizontal{0, 0, static_cast<uint32_t>(event.dx), MOUSE_FLAG_HWHEEL};
    if (event.dx != 0 && !io.sendMouse(&horizontal, 1)) return RefuseInput();
    return true;
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
bool InjectButton(const PlaybackIo& io, const MacroEvent& event, PlaybackRun& run) {
    std::optional<MouseInputRecord> record = MouseButtonRecord(event.type, event.button);
    if (!record) return true;
    int slot = MouseButtonSlot(event.button);
    bool down = event.type == ButtonDown;
    if (down) {
        uint32_t modifiers = event.vk & MODIFIER_BITS;
        SendModifiers(io, modifiers & ~run.modifiersHeld, false);
        run.modifiersHeld |= modifiers;
        run.buttonModifiers[slot] = modifiers;
    }
    if (!io.sendMouse(&*record, 1)) return RefuseInput();
    run.buttonHeld[slot] = down;
    if (!down) ReleaseUnneededModifiers(io, run);
    return true;
}

// Releases every button, key and modifier the playback holds; what Windows refuses stays held.
// Returns whether nothing is held any more.
bool SendReleases(const PlaybackIo& io, PlaybackRun& run) {
    for (int slot = 0; slot < MOUSE_BUTTON_COUNT; ++slot) {
        if (!run.buttonHeld[slot]) continue;
        const ButtonFlags& flags = BUTTON_FLAGS[slot];
        MouseInputRecord release{0, 0, flags.mouseData, flags.up};
        if (io.sendMouse(&release, 1)) run.buttonHeld[slot] = false;
    }
    for (size_t i = run.keysHeld.size(); i-- > 0;) {
        KeyInputRecord release{run.keysHeld[i], true};
        if (io.sendKeys(&release, 1))
            run.keysHeld.erase(run.keysHeld.begin() + static_cast<std::ptrdiff_t>(i));
    }
    KeyInputRecord records[4];
    size_t count = ModifierRecords(records, run.modifiersHeld, true);
    if (count == 0 || io.sendKeys(records, count)) run.modifiersHeld = 0;
    return run.modifiersHeld == 0 && run.keysHeld.empty() &&
           std::none_of(run.buttonHeld.begin(), run.buttonHeld.end(), [](bool held) { return held; });
}

// While the secure desktop is up every release is refused: they are tried again until Windows
// takes them, for a few seconds at most, or until the program ends.
void ReleaseEverything(const PlaybackIo& io, PlaybackRun& run) {
    double giveUpMs = io.nowMs() + RELEASE_RETRY_LIMIT_MS;
    while (!SendReleases(io, run) && io.nowMs() < giveUpMs && !app.playbackWorkerQuit) {
        for (double retryMs = io.nowMs() + RELEASE_RETRY_GAP_MS; io.nowMs() < retryMs;)
            io.sleepOneMs();
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
    // A speed read from a file has no upper bound; converting past the range would be undefined.
    constexpr double WAIT_RANGE = 18446744073709551616.0; // 2^64
    if (scaled >= WAIT_RANGE) return UINT64_MAX;
    return static_cast<uint64_t>(scaled);
}

double ScheduledWaitMs(uint32_t delayMs, double speed) {
    double scaled = static_cast<double>(delayMs) * speed;
    if (scaled > 0 && scaled < 1.0) return scaled;
    return static_cast<double>(WaitLengthMs(delayMs, speed));
}

double AdvanceSchedule(PassSchedule& schedule, double nowMs, double lengthMs) {
    schedule.dueMs = std::max(schedule.dueMs, nowMs - CATCH_UP_LIMIT_MS) + lengthMs;
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

bool CarriesCursor(int32_t mouseMode) {
    return mouseMode == CenterMouse || mouseMode == LockMouse || mouseMode == ScreenMouse;
}

bool PlaybackInterrupted() {
    return app.stopRequested || !app.masterEnabled || !app.holdStateOn;
}

bool PreparePlayback(const PlaybackIo& io) {
    // This runs on the only thread that writes `events`, so its size needs no lock here. A playback
    // during a recording would record its own replay into the macro it plays.
    if (!app.masterEnabled || !app.holdStateOn || app.playing || app.recording || app.events.empty())
        return false;
    app.stopRequested = false;
    app.playbackInputRefused = false;
    app.playbackPositionClamped = false;
    int32_t mode = app.mouseMode;
    ScreenPoint start;
    if (mode == CenterMouse) {
        start = io.screenCenter();
        io.setCursorPos(start);
    } else if (mode == ScreenMouse && app.macroStartPos) {
        start = OnScreen(io, *app.macroStartPos);
        io.setCursorPos(start);
    } else {
        start = io.cursorPos();
    }
    app.playbackStartPoint = start;
    app.playbackStartMs = io.nowMs();
    if (CarriesCursor(mode))
        io.confineCursor(start, start);
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
    if (CarriesCursor(app.mouseMode)) trackedCursor = app.playbackStartPoint;
    PassSchedule schedule{run.passStartMs.value_or(io.nowMs())};
    run.passStartMs.reset();
    run.pendingCount = 0; // steps a stopped pass gathered are not sent

    for (size_t i = 0;; ++i) {
        // The macro may be edited or replaced while it plays: copy one event at a time.
        MacroEvent event;
        size_t pointCount;
        {
            std::lock_guard lock(app.macroMutex);
            if (i >= app.events.size()) break;
            event = app.events[i];
            pointCount = app.pathPoints.size();
        }
        if (PlaybackInterrupted()) return false;
        if (EventWaits(event)) {
            // While it waits the cursor stays in the span of the last movement; the next one
            // confines it to its own.
            run.confinement.reset();
            if (!WaitForEvent(io, run, schedule, event.delayMs)) return false;
        }
        if (app.stopRequested) return false;
        // Only moves a sped-up macro makes due at once share a call: a move without a wait of its
        // own (a fast mouse's packets, a loop without waits) goes out by itself, as the window's
        // pacing between calls then keeps a flood from starving it.
        bool ownCall = event.type != Move || !EventWaits(event);
        if (ownCall && !SendPendingSteps(io, run)) return false;

        switch (event.type) {
        case Move: {
            int32_t pathIndex = i < pathIndexOfEvent.size() ? pathIndexOfEvent[i] : -1;
            if (app.pathEditorWindow.load() && pathIndex >= 0 &&
                static_cast<size_t>(pathIndex) < pointCount) {
                app.playbackPathIndex = pathIndex;
                io.repaintPathEditor();
            }
            if (!InjectMove(io, run, event, trackedCursor)) return false;
            if (ownCall && !SendPendingSteps(io, run)) return false;
            break;
        }
        case ButtonDown:
        case ButtonUp:
            PaceInjection(io, run);
            if (app.mouseMode == ScreenMouse && HasScreenPosition(event))
                PlaceCursorForClick(io, run, event, trackedCursor);
            if (!InjectButton(io, event, run)) return false;
            break;
        case Key: {
            PaceInjection(io, run);
            if (!InjectKey(io, event, run)) return false;
            break;
        }
        case KeyUp:
            PaceInjection(io, run);
            if (!InjectKeyUp(io, event, run)) return false;
            break;
        case Wheel:
            PaceInjection(io, run);
            if (!InjectWheel(io, event)) return false;
            break;
        default:
            break;
        }
    }
    if (!SendPendingSteps(io, run)) return false;
    run.passEnd = trackedCursor;
    return true;
}

bool PlayedLastPass(uint32_t pass) {
    if (app.playMode == Once) return true;
    uint32_t count = app.loopCount;
    return app.playMode == Loop && count != 0 && pass >= count;
}

std::wstring PlayLabelText(uint32_t pass) {
    std::wstring text = L"PLAY";
    if (app.playMode == Once || pass == 0) return text;
    text += L' ' + std::to_wstring(pass);
    uint32_t count = app.loopCount;
    if (app.playMode == Loop && count != 0) text += L'/' + std::to_wstring(count);
    return text;
}

void RunPlayback(const PlaybackIo& io) {
    // StartPlayback has already cleared `stopRequested`; clearing it again here would lose a stop
    // pressed between the Play press and the worker's waking.
    PlaybackRun run;
    run.restedAtMs = io.nowMs();
    run.caughtUpMs = run.restedAtMs;
    // Waking this thread takes its time; the first event's delay still counts from the Play press.
    run.passStartMs = app.playbackStartMs;
    run.seenDrains = app.interfaceQueueDrains.load(std::memory_order_relaxed);
    bool passFinished = true;
    app.playbackPass = 1;
    if (app.playMode == Once) {
        passFinished = RunPlaybackPass(io, run);
    } else {
        for (;; ++app.playbackPass) {
            uint64_t sleepsBefore = run.sleeps;
            passFinished = RunPlaybackPass(io, run);
            if (!passFinished || PlaybackInterrupted() || PlayedLastPass(app.playbackPass)) break;
            // Each pass starts with nothing held, also when the macro was edited while it played.
            SendReleases(io, run);
            // A pass that never slept (a macro without waits, or one emptied while it loops) would
            // otherwise start the next at once and inject without bound.
            if (run.sleeps == sleepsBefore) Rest(io, run);
        }
    }
    // Under Wine the pointer comes to rest where the last grab put it, not where it was set.
    if (passFinished && run.passEnd && CarriesCursor(app.mouseMode))
        io.confineCursor(*run.passEnd, *run.passEnd);
    if (app.playbackInputRefused) io.freeCursor();
    // Also after a pass that ran over a macro edited or replaced meanwhile, which may never
    // release what the old one pressed.
    ReleaseEverything(io, run);
    app.playbackPathIndex = -1;
    io.repaintPathEditor();
    io.postPlaybackDone();
}
