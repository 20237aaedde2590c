// The one process-wide state record. Everything the program knows at run time lives here;
// every part reaches it directly through `app`. Portable: window and GDI handles are held as the
// same opaque pointer types that <windows.h> declares, so the core builds and tests without it.
#pragma once

#include "core/InputRecords.h"
#include "core/MacroRecords.h"
#include "core/ProfileRecords.h"
#include "core/UndoRecords.h"

#include <array>
#include <atomic>
#include <bitset>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

struct HWND__;
struct HHOOK__;
struct HBRUSH__;
struct HFONT__;
using WindowHandle = HWND__*;
using HookHandle = HHOOK__*;
using BrushHandle = HBRUSH__*;
using FontHandle = HFONT__*;

// The drag state of the path editor; outlives the editor window.
struct PathEditState {
    std::vector<size_t> selection;
    int32_t dragSlot = -1;
    bool dragging = false;
    std::vector<PathPoint> dragSnapshot;
    double falloffRadius = 0;
};

// A window's rectangle in screen pixels; empty (all 0) for none.
struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;

    bool operator==(const ScreenRect&) const = default;
};

// Zoom and pan of the path editor; outlives the editor window.
struct PathView {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    double fitScale = 1.0;
    double zoom = 1.0;
    double panX = 0.0, panY = 0.0;
    bool panning = false;
    int32_t panStartX = 0, panStartY = 0;
    double panStartOffsetX = 0, panStartOffsetY = 0;
};

using ClockFunction = uint64_t (*)();

// Milliseconds of a monotonic clock finer than GetTickCount64's 10-16 ms steps.
uint64_t MonotonicMs();

struct AppState {
    // The current macro and its playback settings. `macroMutex` guards `events`, `pathPoints` and
    // `pathMoveIndices` against the playback thread; writers on the UI thread hold it only while
    // they change them, the playback thread while it copies one event and, at the start of every
    // pass, while it builds a table as long as the macro (each event's point on the path), so a
    // change of a long macro may wait that long.
    std::mutex macroMutex;
    std::vector<MacroEvent> events;
    // Where the cursor was when the macro's recording started; none for macros made without it.
    std::optional<ScreenPoint> macroStartPos;
    std::atomic<double> speed{SPEED_DEFAULT};
    std::atomic<int32_t> playMode{Once};
    // The passes a Loop plays before it ends as Once does; 0 loops until stopped.
    std::atomic<uint32_t> loopCount{0};
    std::atomic<int32_t> mouseMode{FreeMouse};
    // The macros before each change, for undo and redo (UI thread only).
    UndoHistory undoHistory;
    // Changes of the macro counted, and the count when it was last saved or loaded: closing asks
    // before a changed macro is lost.
    uint64_t macroRevision = 0;
    uint64_t savedMacroRevision = 0;

    // Switches and run flags; the atomics are polled by the playback thread.
    std::atomic<bool> masterEnabled{true};
    std::atomic<bool> holdStateOn{true};
    std::atomic<bool> stopRequested{false};
    // Set by the playback thread when Windows inserted less input than it was given; shown in the
    // main window until the next playback starts.
    std::atomic<bool> playbackInputRefused{false};
    // Set by the playback thread when a recorded position lay outside every monitor; the status
    // line says so once per playback (`clampNoticeShown`).
    std::atomic<bool> playbackPositionClamped{false};
    bool clampNoticeShown = false;
    // How often the interface thread has found its message queue empty, and whether it waits for
    // messages now: the playback rests while neither has happened for a while.
    std::atomic<uint64_t> interfaceQueueDrains{0};
    std::atomic<bool> interfaceWaiting{false};
    bool recording = false;
    bool playing = false;
    bool holdOffKeyDown = false;
    bool masterOffSoundPending = false; // F4 stopped a playback: its sound follows the playback's end
    // When each key that is down last came down (0 while up): toggling hotkeys must not act on
    // their repeats, whatever other keys are typed or replayed while they are held.
    std::array<uint64_t, 256> keyDownTicks{};
    // The modifier keys the hook saw go down and not yet up, one bit per ModifierKeySlot. The hook
    // keeps it itself: the system's key state does not yet show the key the hook is called for.
    uint32_t heldModifierKeys = 0;

    // The keyboard hook's watchdog: when the hook last ran, and how often it was put back.
    uint64_t lastHookCallTick = 0;
    uint32_t hookReinstallCount = 0;
    // The mouse hook runs on a thread of its own while a mouse button is bound as the record, play
    // or hold-off hotkey: the buttons it withholds (press flags), when it last ran, its thread.
    std::atomic<uint32_t> withheldMouseButtons{0};
    std::atomic<uint64_t> lastMouseHookCallTick{0};
    void* mouseHookThread = nullptr;
    uint32_t mouseHookThreadId = 0;

    // Input devices and the coordinate display.
    int32_t deviceIndex = 0;
    std::vector<RawMouseDevice> rawDevices;
    int32_t lastRawDx = 0;
    int32_t lastRawDy = 0;
    uint64_t lastRawInputTick = 0;
    uint64_t coordLabelTick = 0; // when the coordinate label last showed a reading

    // Hotkeys and their capture flags.
    HotkeyBinding recordHotkey;
    HotkeyBinding playHotkey;
    HotkeyBinding holdOffHotkey;
    bool recordHotkeyCapture = false;
    bool playHotkeyCapture = false;
    bool holdOffHotkeyCapture = false;
    // A modifier went down during the armed capture: the next key makes a chord with it, or its
    // release alone binds the modifier itself.
    bool captureModifierPending = false;

    // The recording clock; `clock` is swapped by tests.
    uint64_t lastEventTick = 0;
    ClockFunction clock = MonotonicMs;
    // Time since the last recorded event that no event carries yet: mouse gaps under the floor
    // and packets that recorded nothing hand theirs on, so the delays add up to the real span.
    uint64_t carriedDelayMs = 0;
    // The keys whose press the recording holds: only their releases are recorded.
    std::bitset<256> recordedKeysDown;

    // Playback: the worker thread that plays every playback, the event that wakes it for one and
    // the request that it end.
    void* playbackThread = nullptr;
    void* playbackWake = nullptr;
    std::atomic<bool> playbackWorkerQuit{false};
    ScreenPoint playbackStartPoint;
    double playbackStartMs = 0; // the Play press on the playback clock: the first wait counts from it
    std::atomic<int32_t> playbackPathIndex{-1};
    // The pass being played, from 1; the overlay shows it.
    std::atomic<uint32_t> playbackPass{0};

    // The event list: row n stands for event n; the list box holds only the count.
    std::vector<bool> rowTicks;
    size_t selectedRow = NO_ROW;
    // The EV lines the main window put on the clipboard, kept until another program takes it over.
    std::string clipboardText;
    // The list box's own window procedure, which the row-text answers hand every other message.
    void* eventListBaseProc = nullptr;
    // The edit class's procedure, which the delay and speed boxes hand every other message.
    void* editBaseProc = nullptr;

    // The mouse path and its editor.
    std::vector<PathPoint> pathPoints;
    std::vector<size_t> pathMoveIndices;
    // The path as built from the macro or last applied to it: what the drags changed is the
    // difference, and only that is written back, never the smoothing of the drawing.
    std::vector<PathPoint> pathBasePoints;
    PathEditState pathEdit;
    PathView pathView;

    // Profiles.
    std::array<ProfileSlot, PROFILE_SLOT_COUNT> profileSlots;
    std::array<std::wstring, PROFILE_SLOT_COUNT> profileMacroPaths;
    int32_t activeProfile = -1;
    std::array<ReadyMacro, PROFILE_SLOT_COUNT> readyMacros;
    // The active slot as it was when its macro was last loaded: closing the profile window loads
    // it again only when the window changed the slot, never over a recording made meanwhile.
    ProfileSlot activeSlotAsLoaded;
    std::wstring activePathAsLoaded;
    HotkeyBinding scrollPrevHotkey;
    HotkeyBinding scrollNextHotkey;
    int32_t profileHotkeyCaptureSlot = -1;
    bool scrollPrevCapture = false;
    bool scrollNextCapture = false;

    // Theme resources, created once and kept for the run.
    BrushHandle backgroundBrush = nullptr;
    BrushHandle editBrush = nullptr;
    BrushHandle listBrush = nullptr;
    FontHandle accentButtonFont = nullptr;

    // Handles; null while their window does not exist.
    HookHandle keyboardHook = nullptr;
    WindowHandle mainWindow = nullptr;
    WindowHandle coordLabel = nullptr;
    WindowHandle masterLabel = nullptr;
    WindowHandle statusLabel = nullptr;
    WindowHandle profileLabel = nullptr;
    WindowHandle deviceCombo = nullptr;
    WindowHandle outputEdit = nullptr;
    WindowHandle recordButton = nullptr;
    WindowHandle playButton = nullptr;
    WindowHandle recordHotkeyEdit = nullptr;
    WindowHandle playHotkeyEdit = nullptr;
    WindowHandle holdOffHotkeyEdit = nullptr;
    WindowHandle holdStateLabel = nullptr;
    WindowHandle eventList = nullptr;
    WindowHandle delayEdit = nullptr;
    WindowHandle speedEdit = nullptr;
    WindowHandle allCheckbox = nullptr;
    WindowHandle loopCountEdit = nullptr;

    WindowHandle overlayWindow = nullptr;
    WindowHandle overlayRecLabel = nullptr;
    WindowHandle overlayPlayLabel = nullptr;
    WindowHandle overlayMasterLabel = nullptr;
    WindowHandle overlayProfileLabel = nullptr;

    // Where the user last left each small window, kept for the session; empty until it first closes.
    ScreenRect overlayPlace;
    ScreenRect pathEditorPlace;
    ScreenRect profileWindowPlace;

    WindowHandle profileWindow = nullptr;
    WindowHandle activeProfileLabel = nullptr;
    std::array<WindowHandle, PROFILE_SLOT_COUNT> profileEnableChecks{};
    std::array<WindowHandle, PROFILE_SLOT_COUNT> profileNameEdits{};
    std::array<WindowHandle, PROFILE_SLOT_COUNT> profileHotkeyEdits{};
    WindowHandle scrollPrevEdit = nullptr;
    WindowHandle scrollNextEdit = nullptr;

    std::atomic<WindowHandle> pathEditorWindow{nullptr};

    // A macro file handed to the program (its command line or a second start), opened from a
    // posted message so that the sender never waits on a message box.
    std::wstring pendingOpenPath;

    bool profileWindowClassRegistered = false;
    bool pathEditorClassRegistered = false;
    bool overlayClassRegistered = false;
};

extern AppState app;

// Puts every field back to its start value (tests; the program itself never calls it).
void ResetAppState();
