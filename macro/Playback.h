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
constexpr uint32_t MOUSE_FLAG_WHEEL = 0x0800;
constexpr uint32_t MOUSE_FLAG_HWHEEL = 0x1000;
constexpr uint32_t MOUSE_DATA_XBUTTON1 = 1;
constexpr uint32_t MOUSE_DATA_XBUTTON2 = 2;

constexpr int MOUSE_BUTTON_COUNT = 5;
// The steps of one movement, and of the relative movements that a speed-up makes due with it, go
// out in one injection call, up to this many: a hand movement moves far less between two packets, and a
// longer one (128 units and more on an axis) takes more calls, paced like any other, so that every
// record reaches the window before too many follow it.
constexpr size_t MOVE_STEPS_PER_CALL = 64;

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
    bool (*sendMouse)(const MouseInputRecord* records,
                      size_t count); // all records in ONE SendInput call; false when Windows inserted less
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
    // The nearest pixel of any monitor there is now: the point itself when a monitor holds it.
    ScreenPoint (*nearestOnScreen)(ScreenPoint point);
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
// the modifiers each held button was pressed with, the modifiers the playback holds for them and
// the held keys in the order they went down;
// how often it has slept, when it last did and how long the burst after that may run; when the
// window was last seen caught up with its queue; the rectangle the carried cursor is confined to
// (unknown until a movement confines it, and again after each wait) and where the last finished
// pass left it.
struct PlaybackRun {
    std::array<bool, MOUSE_BUTTON_COUNT> buttonHeld{};
    std::array<uint32_t, MOUSE_BUTTON_COUNT> buttonModifiers{};
    uint32_t modifiersHeld = 0;
    std::vector<uint16_t> keysHeld;
    uint64_t sleeps = 0;
    double restedAtMs = 0;
    double burstLimitMs = INJECTION_BURST_MS;
    std::optional<std::array<ScreenPoint, 2>> confinement;
    std::optional<ScreenPoint> passEnd;
    std::optional<double> passStartMs; // where the next pass's schedule starts, when not at once
    uint64_t seenDrains = 0;           // app.interfaceQueueDrains when last looked at
    double caughtUpMs = 0;
    bool interfaceStalled = false; // given up on until it is seen caught up
    // Relative steps not sent yet: they go out together before anything else is sent and before
    // any rest, so moves whose waits the speed made shorter than a millisecond, and that fell due
    // while an injection call ran, share one call instead of paying for one each.
    std::array<MouseInputRecord, MOVE_STEPS_PER_CALL> pendingSteps{};
    size_t pendingCount = 0;
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
// The length in ms a wait takes on the pass's schedule: a wait the speed makes shorter than a
// millisecond counts at its exact length, any other as WaitLengthMs.
double ScheduledWaitMs(uint32_t delayMs, double speed);
// Moves the schedule on by one wait of `lengthMs` that starts at `nowMs`; returns its deadline.
double AdvanceSchedule(PassSchedule& schedule, double nowMs, double lengthMs);

// Entry e is j + 1 for the j with moveIndices[j] == e, -1 for events without a path point.
std::vector<int32_t> BuildPathIndexOfEvent(size_t eventCount, const std::vector<size_t>& moveIndices,
                                           size_t pointCount);

// Whether a mouse mode carries the confined cursor along the path (CenterMouse, LockMouse,
// ScreenMouse). Any other value, also one outside the enumeration read from a file, plays as
// FreeMouse.
bool CarriesCursor(int32_t mouseMode);
// A stop request, the master switch off or the hold-off key held.
bool PlaybackInterrupted();

// The user-interface steps before the thread starts: the refusals, the start point and the
// confinement. ScreenMouse starts where the recording started, when the macro knows it. Returns
// false when playback is refused (nothing changed).
bool PreparePlayback(const PlaybackIo& io);
// PreparePlayback, then `startThread(parameter)`; sets `playing` when the thread runs. A thread
// that cannot be created leaves the cursor free again. Returns whether playback started.
bool LaunchPlayback(const PlaybackIo& io, bool (*startThread)(void* parameter), void* parameter);
// One pass over the macro. Returns false when a stop test ended it early. In ScreenMouse a click
// with a position is made with the cursor on that pixel; positions outside every monitor go to
// the nearest one and set `app.playbackPositionClamped`.
bool RunPlaybackPass(const PlaybackIo& io, PlaybackRun& run);
// While Windows refuses input (the secure desktop), the releases at the end are tried again this
// often, for at most this long: a key left down would repeat in whatever has the focus afterwards.
constexpr double RELEASE_RETRY_GAP_MS = 10.0;
constexpr double RELEASE_RETRY_LIMIT_MS = 3000.0;

// Whether pass `pass` (from 1) ends the playback: always in Once, after the set count in Loop.
// Read after each pass, so a mode or count changed meanwhile takes effect there.
bool PlayedLastPass(uint32_t pass);
// The overlay's text for pass `pass`: "PLAY" in Once, "PLAY 3" in an endless Loop or Hold,
// "PLAY 3/10" in a Loop of 10 passes.
std::wstring PlayLabelText(uint32_t pass);
// The whole life of the playback thread: its passes by play mode, then the tidy-up and the
// end message. However it ends, and between the passes of a loop, every button and key the
// playback pressed and did not release is released. Input that Windows refuses ends the playback
// as a stop does, frees the cursor and sets `app.playbackInputRefused`.
void RunPlayback(const PlaybackIo& io);
