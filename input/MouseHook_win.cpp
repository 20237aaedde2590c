// The mouse hook's thread and hook procedure. What is withheld is decided in RawMouse.cpp; the
// withheld transitions are handed to the main window, which acts on them as on raw input.
#include "input/MouseHook_win.h"

#include "core/AppState.h"
#include "input/HookWatchdog.h"
#include "input/RawMouse.h"

namespace {

// Asks the hook's thread to put its hook back.
constexpr UINT WM_APP_REHOOK = WM_APP + 1;
constexpr DWORD MOUSE_HOOK_WAIT_MS = 1000;

HHOOK mouseHook = nullptr; // the hook's thread only

void Hook() {
    mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseHookProc, GetModuleHandleW(nullptr), 0);
    app.lastMouseHookCallTick = app.clock();
}

void Unhook() {
    if (mouseHook) UnhookWindowsHookEx(mouseHook);
    mouseHook = nullptr;
}

// The raw-input flag of a button message, 0 for movement and the wheel.
uint32_t TransitionOf(WPARAM message, const MSLLHOOKSTRUCT& mouse) {
    bool second = HIWORD(mouse.mouseData) == XBUTTON2;
    switch (message) {
    case WM_LBUTTONDOWN:
        return BUTTON_PRESS_FLAGS[0];
    case WM_LBUTTONUP:
        return BUTTON_RELEASE_FLAGS[0];
    case WM_RBUTTONDOWN:
        return BUTTON_PRESS_FLAGS[1];
    case WM_RBUTTONUP:
        return BUTTON_RELEASE_FLAGS[1];
    case WM_MBUTTONDOWN:
        return BUTTON_PRESS_FLAGS[2];
    case WM_MBUTTONUP:
        return BUTTON_RELEASE_FLAGS[2];
    case WM_XBUTTONDOWN:
        return BUTTON_PRESS_FLAGS[second ? 4 : 3];
    case WM_XBUTTONUP:
        return BUTTON_RELEASE_FLAGS[second ? 4 : 3];
    default:
        return 0;
    }
}

DWORD WINAPI MouseHookThread(LPVOID ready) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE); // the queue, before anyone posts to it
    Hook();
    SetEvent(static_cast<HANDLE>(ready));
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.message == WM_APP_REHOOK) {
            Unhook();
            Hook();
        }
    }
    Unhook();
    return 0;
}

void StartMouseHook() {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ready) return;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, MouseHookThread, ready, 0, &id);
    if (thread) {
        WaitForSingleObject(ready, MOUSE_HOOK_WAIT_MS);
        app.mouseHookThread = thread;
        app.mouseHookThreadId = id;
    }
    CloseHandle(ready);
}

} // namespace

// Stamped on every call, movement included, so that the watchdog sees the hook alive.
LRESULT CALLBACK MouseHookProc(int code, WPARAM message, LPARAM data) {
    app.lastMouseHookCallTick = app.clock();
    if (code != HC_ACTION || !data) return CallNextHookEx(nullptr, code, message, data);
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    uint32_t transition = TransitionOf(message, *mouse);
    if (!WithholdsMouseTransition(app.withheldMouseButtons, transition, mouse->flags & LLMHF_INJECTED))
        return CallNextHookEx(nullptr, code, message, data);
    if (app.mainWindow) PostMessageW(app.mainWindow, WM_APP_WITHHELD_BUTTON, transition, 0);
    return 1;
}

void SyncMouseHook() {
    app.withheldMouseButtons = WithheldMouseButtons(app);
    if (app.withheldMouseButtons != 0 && !app.mouseHookThread) StartMouseHook();
    if (app.withheldMouseButtons == 0 && app.mouseHookThread) RemoveMouseHook();
}

void RemoveMouseHook() {
    if (!app.mouseHookThread) return;
    PostThreadMessageW(app.mouseHookThreadId, WM_QUIT, 0, 0);
    WaitForSingleObject(app.mouseHookThread, MOUSE_HOOK_WAIT_MS);
    CloseHandle(app.mouseHookThread);
    app.mouseHookThread = nullptr;
    app.mouseHookThreadId = 0;
}

bool CheckMouseHook() {
    if (!app.mouseHookThread) return false;
    if (!HookLooksLost(app.clock(), app.lastMouseHookCallTick)) return true;
    PostThreadMessageW(app.mouseHookThreadId, WM_APP_REHOOK, 0, 0);
    app.lastMouseHookCallTick = app.clock();
    ++app.hookReinstallCount;
    return false;
}
