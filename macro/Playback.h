// The playback engine without Win32: passes over the macro, waits on a monotonic clock, movements
// split into small steps and the synthetic input records they become. Every system call goes
// through `PlaybackIo`; Playback_win.cpp fills it with the real ones, tests with a recording fake.
#pragma once

#include "core/AppState.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Flags and data of the system's mouse input record (MOUSEINPUT), so this file needs no system header.
constexpr uint32_t MOUSE_FLAG_MOVE = 0x0001;
constexpr uint32_t MOUSE_FLAG_LEFTDOWN = 0x0002;
constexpr uint32_t MOUSE_FLAG_LEFTUP = 0x0004;
constexpr uint32_t MOUSE_FLAG_RIGHTDOWN = 0x0008;
constexpr uint32_t MOUSE_FLAG_RIGHTUP = 0x0010;
constexpr uint32_t MOUSE_FLAG_MIDDLEDOWN = 0x0020;
constexpr uint32_t MOUSE_FLAG_MIDDLEUP = 0x0040;
constexpr uint32_t MOUSE_FLAG_XDOWN = 0x0080;
constexpr uint32_t MOUSE_FLAG_XUP = 0x0100;
constexpr uint32_t MOUSE_DATA_XBUTTON1 = 1;
constexpr uint32_t MOUSE_DATA_XBUTTON2 = 2;

constexpr int MOUSE_BUTTON_COUNT = 5;

// A wait starts from where the schedule says the previous event was due, so the overshoot of one
// wait's last 1 ms sleep is taken off the next one. After a stall the schedule is never further
// behind the clock than this, so a hiccup does not make the following events burst out.
constexpr double CATCH_UP_LIMIT_MS = 8.0;

// One mouse record for SendInput; the fields not named here are 0.
struct MouseInputRecord {
    int32_t dx = 0;
    int32_t dy = 0;
    uint32_t mouseData = 0;
    uint32_t flags = 0;

    bool operator==(const MouseInputRecord&) const = default;
};

// One keyboard record for SendInput; the Win32 side adds the scan code and the extended-key flag.
struct KeyInputRecord {
    uint16_t vk = 0;
    bool up = false;
    bool operator==(const KeyInputRecord&) const = default;
};

// The system calls of playback.
struct PlaybackIo {
    bool (*sendMouse)(
        const MouseInputRecord& record); // one SendInput call; false when Windows inserted less than asked
    bool (*sendKeys)(const KeyInputRecord* records,
                     size_t count); // all records in ONE SendInput call; false when Windows inserted less
    ScreenPoint (*cursorPos)();
    void (*setCursorPos)(ScreenPoint point);
    // ClipCursor to the rectangle of pixels `first` to `last`, both included.
    void (*confineCursor)(ScreenPoint first, ScreenPoint last);
    void (*freeCursor)();          // ClipCursor(NULL)
    ScreenPoint (*screenCenter)(); // centre of the primary screen
    void (*sleepOneMs)();
    double (*nowMs)();           // monotonic milliseconds
    void (*repaintPathEditor)(); // invalidates the editor without erasing, when it is alive
    void (*postPlaybackDone)();  // WM_APP_PLAYBACK_DONE to the main window
};

// Injection never goes on longer than this without a 1 ms sleep. Every record reaches the
// program's own raw input and the system's input queue; unpaced, a macro without waits floods them
// until the hotkeys, F4 and the window stop answering.
constexpr double INJECTION_BURST_MS = 1.0;
// Right after a wait the burst may go on this long: one recorded movement, slow as injection
// calls are under Wine, then fits before its next wait without a rest that would delay the replay.
constexpr double WAITED_BURST_MS = 4.0;

// Everything injected reaches the window's thread: the hook sees every key, raw input every mouse
// record, and under Wine each mouse record comes back once more as display events. Hotkeys wait
// behind what it has not handled yet, so when its message queue has not run empty for this long,
// injection rests until it has. Counting only its own raw packets read missed the display events
// and let the queue run away under Wine.
constexpr double INTERFACE_LAG_LIMIT_MS = 2.0;
// A window that stays busy without emptying its queue (a long load) is given up on after this
// long, until it is seen caught up again.
constexpr double INTERFACE_GIVE_UP_MS = 10.0;

// What one playback (all of its passes) has pressed and not yet released: the buttons by slot,
// the modifiers each held button was pressed with, and the modifiers the playback holds for them;
// how often it has slept, when it last did and how long the burst after that may run; when the
// window was last seen caught up with its queue; the rectangle the carried cursor is confined to
// (unknown until a movement confines it, and again after each wait) and where the last finished
// pass left it.
struct PlaybackRun {
    std::array<bool, MOUSE_BUTTON_COUNT> buttonHeld{};
    std::array<uint32_t, MOUSE_BUTTON_COUNT> buttonModifiers{};
    uint32_t modifiersHeld = 0;
    uint64_t sleeps = 0;
    double restedAtMs = 0;
    double burstLimitMs = INJECTION_BURST_MS;
    std::optional<std::array<ScreenPoint, 2>> confinement;
    std::optional<ScreenPoint> passEnd;
    std::optional<double> passStartMs; // where the next pass's schedule starts, when not at once
    uint64_t seenDrains = 0;           // app.interfaceQueueDrains when last looked at
    double caughtUpMs = 0;
    bool interfaceStalled = false; // given up on until it is seen caught up
};

// The virtual-key codes that replay the modifier bits, in the order they are pressed.
constexpr uint16_t MODIFIER_VKS[4] = {0x10, 0x11, 0x12, 0x5B}; // Shift, Ctrl, Alt, left Win

// The schedule of one pass: the clock time at which the previous waited event was due.
struct PassSchedule {
    double dueMs = 0;
};

// Slot 0..4 (left, right, middle, fourth, fifth) of a press or release flag, -1 for other values.
int MouseButtonSlot(uint32_t button);
// The record a ButtonDown or ButtonUp event sends; none for other types and unknown buttons.
std::optional<MouseInputRecord> MouseButtonRecord(int32_t type, uint32_t button);
// The next step of a movement with (rx, ry) still to go: each axis limited to MOVE_STEP_LIMIT.
ScreenPoint NextMoveStep(int32_t rx, int32_t ry);

// Whether an event waits before it is sent: Moves from MOUSE_DELAY_FLOOR_MS on, others when not 0.
bool EventWaits(const MacroEvent& event);
// The length in ms of an event's wait: delay times speed, truncated, at least 1.
uint64_t WaitLengthMs(uint32_t delayMs, double speed);
// Moves the schedule on by one wait of `lengthMs` that starts at `nowMs`; returns its deadline.
double AdvanceSchedule(PassSchedule& schedule, double nowMs, uint64_t lengthMs);

// Entry e is j + 1 for the j with moveIndices[j] == e, -1 for events without a path point.
std::vector<int32_t> BuildPathIndexOfEvent(size_t eventCount, const std::vector<size_t>& moveIndices,
                                           size_t pointCount);

// Whether a mouse mode carries the confined cursor along the path (CenterMouse, LockMouse). Any
// other value, also one outside the enumeration read from a file, plays as FreeMouse.
bool CarriesCursor(int32_t mouseMode);
// A stop request, the master switch off or the hold-off key held.
bool PlaybackInterrupted();

// The user-interface steps before the thread starts: the refusals, the start point and the
// confinement. Returns false when playback is refused (nothing changed).
bool PreparePlayback(const PlaybackIo& io);
// PreparePlayback, then `startThread(parameter)`; sets `playing` when the thread runs. A thread
// that cannot be created leaves the cursor free again. Returns whether playback started.
bool LaunchPlayback(const PlaybackIo& io, bool (*startThread)(void* parameter), void* parameter);
// One pass over the macro. Returns false when a stop test ended it early.
bool RunPlaybackPass(const PlaybackIo& io, PlaybackRun& run);
// Whether pass `pass` (from 1) ends the playback: always in Once, after the set count in Loop.
// Read after each pass, so a mode or count changed meanwhile takes effect there.
bool PlayedLastPass(uint32_t pass);
// The overlay's text for pass `pass`: "PLAY" in Once, "PLAY 3" in an endless Loop or Hold,
// "PLAY 3/10" in a Loop of 10 passes.
std::wstring PlayLabelText(uint32_t pass);
// The whole life of the playback thread: its passes by play mode, then the tidy-up and the
// end message. Buttons still held after a stop are released, modifiers held for buttons always.
// Input that Windows refuses ends the playback as a stop does, frees the cursor and sets
// `app.playbackInputRefused`.
void RunPlayback(const PlaybackIo& io);
