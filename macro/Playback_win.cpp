// Starting playback and tidying up after it, and the real system calls the engine injects with.
#include "macro/Playback_win.h"

#include "app/AppState.h"
#include "app/WindowText_win.h"

#include <vector>

namespace {

static_assert(sizeof(INPUT) == 40);
static_assert(MOUSE_FLAG_MOVE == MOUSEEVENTF_MOVE && MOUSE_FLAG_LEFTDOWN == MOUSEEVENTF_LEFTDOWN &&
              MOUSE_FLAG_LEFTUP == MOUSEEVENTF_LEFTUP && MOUSE_FLAG_RIGHTDOWN == MOUSEEVENTF_RIGHTDOWN &&
              MOUSE_FLAG_RIGHTUP == MOUSEEVENTF_RIGHTUP && MOUSE_FLAG_MIDDLEDOWN == MOUSEEVENTF_MIDDLEDOWN &&
              MOUSE_FLAG_MIDDLEUP == MOUSEEVENTF_MIDDLEUP && MOUSE_FLAG_XDOWN == MOUSEEVENTF_XDOWN &&
              MOUSE_FLAG_XUP == MOUSEEVENTF_XUP && MOUSE_DATA_XBUTTON1 == XBUTTON1 &&
              MOUSE_DATA_XBUTTON2 == XBUTTON2);

bool SendMouseRecord(const MouseInputRecord& record) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = record.dx;
    input.mi.dy = record.dy;
    input.mi.mouseData = record.mouseData;
    input.mi.dwFlags = record.flags;
    input.mi.dwExtraInfo = INJECTED_INPUT_MARK;
    return SendInput(1, &input, sizeof(INPUT)) == 1;
}

bool SendKeyRecords(const KeyInputRecord* records, size_t count) {
    std::vector<INPUT> inputs(count);
    for (size_t i = 0; i < count; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = records[i].vk;
        inputs[i].ki.dwFlags = records[i].up ? KEYEVENTF_KEYUP : 0;
        inputs[i].ki.dwExtraInfo = INJECTED_INPUT_MARK;
    }
    UINT asked = static_cast<UINT>(count);
    return SendInput(asked, inputs.data(), sizeof(INPUT)) == asked;
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

ScreenPoint ScreenCenter() {
    return {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
}

void SleepOneMs() {
    Sleep(1);
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

bool CreatePlaybackThread(void* mainWindowHandle) {
    app.playbackThread = CreateThread(nullptr, 0, PlaybackThreadProc, mainWindowHandle, 0, nullptr);
    return app.playbackThread != nullptr;
}

} // namespace

PlaybackIo SystemPlaybackIo() {
    return {SendMouseRecord,      SendKeyRecords,    CursorPos,       MoveCursorTo,
            ConfineCursor,        FreeCursor,        ScreenCenter,    SleepOneMs,
            PerformanceCounterMs, RepaintPathEditor, PostPlaybackDone};
}

DWORD WINAPI PlaybackThreadProc(LPVOID) {
    RunPlayback(SystemPlaybackIo());
    return 0;
}

void StartPlayback(HWND mainWindowHandle) {
    if (!LaunchPlayback(SystemPlaybackIo(), CreatePlaybackThread, mainWindowHandle)) return;
    SetControlText(app.playButton, L"Stop");
    if (app.overlayPlayLabel) {
        SetWindowTextW(app.overlayPlayLabel, L"PLAY");
        InvalidateRect(app.overlayPlayLabel, nullptr, TRUE);
    }
}

void OnPlaybackDone() {
    app.playing = false;
    app.stopRequested = false;
    ClipCursor(nullptr);
    if (app.playbackThread) {
        CloseHandle(app.playbackThread);
        app.playbackThread = nullptr;
    }
    SetControlText(app.playButton, L"Play");
    if (app.overlayPlayLabel) {
        SetWindowTextW(app.overlayPlayLabel, L"NO PLAY");
        InvalidateRect(app.overlayPlayLabel, nullptr, TRUE);
    }
}
