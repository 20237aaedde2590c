// Starting playback and tidying up after it, and the real system calls the engine injects with.
#include "macro/Playback_win.h"

#include "core/AppState.h"
#include "ui/windows/ControlTable.h"
#include "ui/windows/WindowText_win.h"
#include "macro/PlaybackSystem_win.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

static_assert(sizeof(INPUT) == 40);
static_assert(MOUSE_FLAG_MOVE == MOUSEEVENTF_MOVE && MOUSE_FLAG_LEFTDOWN == MOUSEEVENTF_LEFTDOWN &&
              MOUSE_FLAG_LEFTUP == MOUSEEVENTF_LEFTUP && MOUSE_FLAG_RIGHTDOWN == MOUSEEVENTF_RIGHTDOWN &&
              MOUSE_FLAG_RIGHTUP == MOUSEEVENTF_RIGHTUP && MOUSE_FLAG_MIDDLEDOWN == MOUSEEVENTF_MIDDLEDOWN &&
              MOUSE_FLAG_MIDDLEUP == MOUSEEVENTF_MIDDLEUP && MOUSE_FLAG_XDOWN == MOUSEEVENTF_XDOWN &&
              MOUSE_FLAG_XUP == MOUSEEVENTF_XUP && MOUSE_DATA_XBUTTON1 == XBUTTON1 &&
              MOUSE_DATA_XBUTTON2 == XBUTTON2);

// SendInput returns how many records it inserted: 0 while the secure desktop (a UAC prompt,
// Ctrl+Alt+Del, the lock screen) is up. Input that UIPI drops still counts as inserted.
bool SendMouseRecords(const MouseInputRecord* records, size_t count) {
    std::array<INPUT, MOVE_STEPS_PER_CALL> inputs{};
    if (count > inputs.size()) count = inputs.size();
    for (size_t i = 0; i < count; ++i) {
        inputs[i].type = INPUT_MOUSE;
        inputs[i].mi.dx = records[i].dx;
        inputs[i].mi.dy = records[i].dy;
        inputs[i].mi.mouseData = records[i].mouseData;
        inputs[i].mi.dwFlags = records[i].flags;
        inputs[i].mi.dwExtraInfo = INJECTED_INPUT_MARK;
    }
    return SendInput(static_cast<UINT>(count), inputs.data(), sizeof(INPUT)) == count;
}

// Keys that Windows sends with an E0 scan code. MapVirtualKeyW reports the E0 for most of them but
// not on every system and layout (NumLock and Pause-Break's Ctrl form never), so this list decides too.
bool IsExtendedKey(uint16_t vk) {
    switch (vk) {
    case VK_CANCEL:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_SNAPSHOT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_RCONTROL:
    case VK_RMENU:
        return true;
    default:
        // The browser, volume and media keys.
        return vk >= VK_BROWSER_BACK && vk <= VK_LAUNCH_APP2;
    }
}

// Games, remote-desktop and virtual-machine clients read the scan code, ordinary programs the
// virtual-key code: each record carries both.
bool SendKeyRecords(const KeyInputRecord* records, size_t count) {
    std::vector<INPUT> inputs(count);
    for (size_t i = 0; i < count; ++i) {
        UINT scan = MapVirtualKeyW(records[i].vk, MAPVK_VK_TO_VSC_EX);
        bool extended = (scan >> 8) == 0xE0 || IsExtendedKey(records[i].vk);
        KEYBDINPUT& key = inputs[i].ki;
        inputs[i].type = INPUT_KEYBOARD;
        key.wVk = records[i].vk;
        key.wScan = static_cast<WORD>(scan & 0xFF);
        key.dwFlags = (records[i].up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        key.dwExtraInfo = INJECTED_INPUT_MARK;
    }
    return SendInput(static_cast<UINT>(count), inputs.data(), sizeof(INPUT)) == count;
}

ScreenPoint CursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

void MoveCursorTo(ScreenPoint point) {
    SetCursorPos(point.x, point.y);
}

// The rectangle's right and bottom edges lie one past the last pixel, which must not overflow.
LONG OnePast(int32_t coordinate) {
    return coordinate == INT32_MAX ? coordinate : coordinate + 1;
}

void ConfineCursor(ScreenPoint first, ScreenPoint last) {
    RECT rect{first.x, first.y, OnePast(last.x), OnePast(last.y)};
    ClipCursor(&rect);
}

void FreeCursor() {
    ClipCursor(nullptr);
}

// Called in the per-monitor aware context, so the monitors' rectangles are in physical pixels too.
ScreenPoint NearestOnScreen(ScreenPoint point) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    HMONITOR monitor = MonitorFromPoint({point.x, point.y}, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !GetMonitorInfoW(monitor, &info)) return point;
    const RECT& area = info.rcMonitor;
    return {std::clamp<int32_t>(point.x, area.left, area.right - 1),
            std::clamp<int32_t>(point.y, area.top, area.bottom - 1)};
}

ScreenPoint ScreenCenter() {
    return {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
}

double PerformanceCounterMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

void RepaintPathEditor() {
    HWND editor = app.pathEditorWindow.load();
    if (editor && IsWindow(editor)) InvalidateRect(editor, nullptr, FALSE);
}

void PostPlaybackDone() {
    if (app.mainWindow) PostMessageW(app.mainWindow, WM_APP_PLAYBACK_DONE, 0, 0);
}

// One worker plays every playback; it waits for the wake event between them. A thread of its own
// for each playback paid, at every start, for the system making a new thread ready for input (under
// Wine it opens its own display connection: 10 to 14 ms inside the first injected record, which the
// schedule then lost), and at every stop for its teardown before the stop was complete.
DWORD WINAPI PlaybackWorkerProc(LPVOID) {
    PhysicalPixels pixels;
    POINT warmUp;
    GetCursorPos(&warmUp); // makes this thread ready for input before any playback's schedule starts
    PlaybackIo io = SystemPlaybackIo();
    // A wake that fails (the event is gone) ends the worker too.
    while (WaitForSingleObject(app.playbackWake, INFINITE) == WAIT_OBJECT_0 && !app.playbackWorkerQuit)
        RunPlayback(io);
    return 0;
}

bool WakePlaybackWorker(void*) {
    return EnsurePlaybackWorker() && SetEvent(app.playbackWake);
}

} // namespace

PlaybackIo SystemPlaybackIo() {
    return {SendMouseRecords,     SendKeyRecords,    CursorPos,        MoveCursorTo,
            ConfineCursor,        FreeCursor,        ScreenCenter,     WaitAboutOneMs,
            PerformanceCounterMs, RepaintPathEditor, PostPlaybackDone, NearestOnScreen};
}

bool EnsurePlaybackWorker() {
    if (app.playbackThread) return true;
    if (!app.playbackWake) app.playbackWake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (!app.playbackWake) return false;
    app.playbackWorkerQuit = false;
    app.playbackThread = CreateThread(nullptr, 0, PlaybackWorkerProc, nullptr, 0, nullptr);
    return app.playbackThread != nullptr;
}

void StartPlayback() {
    bool blocked = ForegroundRunsAboveUs();
    app.playbackPass = 1;
    {
        PhysicalPixels pixels; // the start point and the confinement
        if (!LaunchPlayback(SystemPlaybackIo(), WakePlaybackWorker, nullptr)) return;
    }
    app.clampNoticeShown = false;
    ShowStatus(blocked ? ELEVATED_WINDOW_TEXT : LISTENING_TEXT);
    SetControlText(app.playButton, L"Stop");
    ShowPlaybackPass();
}

void ShowPlaybackPass() {
    if (!app.playing || !app.overlayPlayLabel) return;
    std::wstring text = PlayLabelText(app.playbackPass);
    if (ReadControlText(app.overlayPlayLabel, PLAY_LABEL_TEXT_LIMIT) == text) return;
    SetWindowTextW(app.overlayPlayLabel, text.c_str());
    InvalidateRect(app.overlayPlayLabel, nullptr, TRUE);
}

void OnPlaybackDone() {
    app.playing = false;
    app.stopRequested = false;
    ClipCursor(nullptr);
    ShowPlaybackNotice();
    if (app.playbackInputRefused) ShowStatus(INPUT_REFUSED_TEXT);
    SetControlText(app.playButton, L"Play");
    if (app.overlayPlayLabel) {
        SetWindowTextW(app.overlayPlayLabel, L"NO PLAY");
        InvalidateRect(app.overlayPlayLabel, nullptr, TRUE);
    }
}

void ShowPlaybackNotice() {
    if (!app.playbackPositionClamped || app.clampNoticeShown) return;
    app.clampNoticeShown = true;
    ShowStatus(POSITION_CLAMPED_TEXT);
}

bool StopPlaybackBeforeExit() {
    if (!app.playbackThread) return true;
    app.stopRequested = true;
    app.playbackWorkerQuit = true;
    SetEvent(app.playbackWake);
    // A worker that does not end in time keeps its event and its handle: closing the event under a
    // thread that may still wait on it would hand the handle's number to whatever is opened next.
    bool ended = WaitForSingleObject(app.playbackThread, PLAYBACK_EXIT_WAIT_MS) == WAIT_OBJECT_0;
    if (ended) {
        CloseHandle(app.playbackWake);
        app.playbackWake = nullptr;
        CloseHandle(app.playbackThread);
        app.playbackThread = nullptr;
    }
    if (app.playing) OnPlaybackDone();
    return ended;
}

void EndProcessIfWorkerRuns(int exitCode, void (*endProcess)(unsigned exitCode)) {
    if (!app.playbackThread || WaitForSingleObject(app.playbackThread, 0) == WAIT_OBJECT_0) return;
    endProcess(static_cast<unsigned>(exitCode));
}
