// The low-level keyboard hook: fixed keys, hotkeys, captures and key recording. The rule order is
// decided in KeyboardHook.cpp; this file performs the chosen rule on the real windows.
#include "input/KeyboardHook_win.h"

#include "core/AppState.h"
#include "ui/windows/WindowText_win.h"
#include "input/KeyboardHook.h"
#include "macro/Playback_win.h"
#include "macro/Recorder_win.h"
#include "ui/windows/Overlay_win.h"
#include "ui/windows/ProfileWindow_win.h"

#include <mmsystem.h>

namespace {

// Plays the sound at the system-notification volume; missing from some headers.
constexpr DWORD SOUND_SYSTEM_FLAG = 0x00200000;

void PlaySystemSound(const wchar_t* alias) {
    PlaySoundW(alias, nullptr, SND_ALIAS | SND_ASYNC | SOUND_SYSTEM_FLAG);
}

void ShowMasterState(const wchar_t* text) {
    SetControlText(app.masterLabel, text);
    ShowOverlaySwitchState();
}

void CaptureKey(HotkeyBinding& binding, HWND edit, bool& capture, uint32_t code) {
    binding = {HotkeyKeyboard, code};
    ShowHotkeyText(edit, binding);
    capture = false;
    app.captureModifierPending = false;
}

void CaptureProfileTrigger(int32_t slot, uint32_t code) {
    size_t index = static_cast<size_t>(slot);
    app.profileSlots[index].trigger = {HotkeyKeyboard, code};
    ShowHotkeyText(app.profileHotkeyEdits[index], app.profileSlots[index].trigger);
    app.profileHotkeyCaptureSlot = -1;
    app.captureModifierPending = false;
}

void SwitchToProfileFromKey(int32_t slot) {
    if (app.mainWindow) SwitchToProfile(slot);
}

} // namespace

void SwitchHoldStateOff() {
    app.holdStateOn = false;
    SetControlText(app.holdStateLabel, L"OFF");
    ShowOverlaySwitchState();
    if (app.recording && app.mainWindow) StopRecording();
    if (app.playing) app.stopRequested = true;
}

void SwitchHoldStateOn() {
    app.holdStateOn = true;
    SetControlText(app.holdStateLabel, L"ON");
    ShowOverlaySwitchState();
}

void HoldOffPress() {
    // Auto-repeat of a held key changes nothing.
    if (app.holdOffKeyDown) return;
    SwitchHoldStateOff();
    app.holdOffKeyDown = true;
}

void HoldOffRelease() {
    app.holdOffKeyDown = false;
    SwitchHoldStateOn();
}

void RecordHotkeyPress() {
    if (app.mainWindow && app.masterEnabled && app.holdStateOn) ToggleRecording();
}

void PlayHotkeyPress() {
    if (!app.mainWindow) return;
    switch (DecidePlayHotkeyPress(app)) {
    case PlayPressAction::RequestStop:
        app.stopRequested = true;
        return;
    case PlayPressAction::StartPlayback:
        StartPlayback();
        return;
    case PlayPressAction::Nothing:
        return;
    }
}

void PlayHotkeyRelease() {
    if (app.mainWindow && app.playing) app.stopRequested = true;
}

// Everything follows the switch's new value, also when F4 comes while the hold-off key is held.
void ToggleMaster() {
    app.masterEnabled = !app.masterEnabled;
    if (app.masterEnabled) {
        app.masterOffSoundPending = false;
        ShowMasterState(L"ON");
        PlaySystemSound(L"DeviceConnect");
        return;
    }
    if (app.recording && app.mainWindow) StopRecording();
    ShowMasterState(L"OFF");
    // Starting a sound costs this thread a millisecond or more, and the playback's end message
    // would wait behind it: the stop comes first, the sound with the end message.
    if (app.playing) {
        app.stopRequested = true;
        app.masterOffSoundPending = true;
        return;
    }
    PlaySystemSound(L"DeviceDisconnect");
}

void PlayPendingMasterSound() {
    if (!app.masterOffSoundPending) return;
    app.masterOffSoundPending = false;
    PlaySystemSound(L"DeviceDisconnect");
}

void ClearRecordPlayHotkeys() {
    app.recordHotkeyCapture = false;
    app.playHotkeyCapture = false;
    app.recordHotkey = {};
    app.playHotkey = {};
    ShowHotkeyText(app.recordHotkeyEdit, app.recordHotkey);
    ShowHotkeyText(app.playHotkeyEdit, app.playHotkey);
}

void EndHotkeyCaptures() {
    app.recordHotkeyCapture = app.playHotkeyCapture = app.holdOffHotkeyCapture = false;
    app.scrollPrevCapture = app.scrollNextCapture = false;
    app.captureModifierPending = false;
    ShowHotkeyText(app.recordHotkeyEdit, app.recordHotkey);
    ShowHotkeyText(app.playHotkeyEdit, app.playHotkey);
    ShowHotkeyText(app.holdOffHotkeyEdit, app.holdOffHotkey);
    ShowHotkeyText(app.scrollPrevEdit, app.scrollPrevHotkey);
    ShowHotkeyText(app.scrollNextEdit, app.scrollNextHotkey);
    if (app.profileHotkeyCaptureSlot >= 0 && app.profileHotkeyCaptureSlot < PROFILE_SLOT_COUNT) {
        size_t index = static_cast<size_t>(app.profileHotkeyCaptureSlot);
        ShowHotkeyText(app.profileHotkeyEdits[index], app.profileSlots[index].trigger);
    }
    app.profileHotkeyCaptureSlot = -1;
}

// The profile window's two scroll boxes are too narrow for the prompt: they show "..." instead.
void ShowCapturePrompt(HWND edit) {
    RECT room{};
    if (edit) GetClientRect(edit, &room);
    SetControlText(edit, room.right < 60 ? L"..." : CAPTURE_PROMPT_TEXT);
}

// A click into a box without the focus gives it the focus, which arms it anyway.
void RearmClickedHotkeyBox(HWND window, LPARAM point) {
    POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    HWND child = ChildWindowFromPointEx(window, at, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    bool hotkeyBox = child == app.recordHotkeyEdit || child == app.playHotkeyEdit ||
                     child == app.holdOffHotkeyEdit || child == app.scrollPrevEdit ||
                     child == app.scrollNextEdit;
    for (HWND edit : app.profileHotkeyEdits)
        hotkeyBox = hotkeyBox || child == edit;
    if (!child || !hotkeyBox || child != GetFocus()) return;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), EN_SETFOCUS),
                 reinterpret_cast<LPARAM>(child));
}

// Performs a decided rule; true when the key is swallowed.
bool ActOnKeyPress(const KeyPressDecision& decision) {
    switch (decision.rule) {
    case KeyPressRule::HoldOffPress:
        HoldOffPress();
        break;
    case KeyPressRule::CaptureProfileTrigger:
        CaptureProfileTrigger(decision.slot, decision.code);
        break;
    case KeyPressRule::ClearRecordPlayHotkeys:
        ClearRecordPlayHotkeys();
        break;
    case KeyPressRule::ToggleMaster:
        ToggleMaster();
        break;
    case KeyPressRule::SwitchToProfile:
        SwitchToProfileFromKey(decision.slot);
        break;
    case KeyPressRule::SelectPreviousProfile:
        SelectPreviousProfile();
        break;
    case KeyPressRule::SelectNextProfile:
        SelectNextProfile();
        break;
    case KeyPressRule::CancelCapture:
        EndHotkeyCaptures();
        break;
    case KeyPressRule::AwaitChordKey:
        app.captureModifierPending = true;
        break;
    case KeyPressRule::CaptureRecordHotkey:
        CaptureKey(app.recordHotkey, app.recordHotkeyEdit, app.recordHotkeyCapture, decision.code);
        break;
    case KeyPressRule::CapturePlayHotkey:
        CaptureKey(app.playHotkey, app.playHotkeyEdit, app.playHotkeyCapture, decision.code);
        break;
    case KeyPressRule::CaptureHoldOffHotkey:
        CaptureKey(app.holdOffHotkey, app.holdOffHotkeyEdit, app.holdOffHotkeyCapture, decision.code);
        break;
    case KeyPressRule::CaptureScrollPrev:
        CaptureKey(app.scrollPrevHotkey, app.scrollPrevEdit, app.scrollPrevCapture, decision.code);
        break;
    case KeyPressRule::CaptureScrollNext:
        CaptureKey(app.scrollNextHotkey, app.scrollNextEdit, app.scrollNextCapture, decision.code);
        break;
    case KeyPressRule::RecordHotkeyPress:
        RecordHotkeyPress();
        break;
    case KeyPressRule::PlayHotkeyPress:
        PlayHotkeyPress();
        break;
    case KeyPressRule::SwallowRepeat:
        break;
    case KeyPressRule::PassOn:
        return false;
    }
    return true;
}

bool PerformKeyPress(uint32_t vk, bool own) {
    KeyPressDecision decision = TakeKeyPress(app, vk, own, app.clock());
    if (decision.recordKey) RecordKeyPress(vk);
    if (decision.dropModifierTaps) DropHeldModifierPresses();
    NoteModifierKey(app, vk, true);
    return ActOnKeyPress(decision);
}

bool PerformKeyRelease(uint32_t vk, bool own) {
    NoteKeyUp(app, vk);
    NoteModifierKey(app, vk, false);
    // Only keys whose press went into the recording: never the hotkeys, F4, F8 or a capture.
    RecordKeyRelease(vk);
    switch (DecideKeyRelease(app, vk, own)) {
    case KeyReleaseRule::CaptureModifier:
        return ActOnKeyPress(DecideCapture(app, vk, true));
    case KeyReleaseRule::HoldOffRelease:
        HoldOffRelease();
        return true;
    case KeyReleaseRule::PlayHotkeyRelease:
        PlayHotkeyRelease();
        return true;
    case KeyReleaseRule::PassOn:
        return false;
    }
    return false;
}

// Only the playback's mark makes a key the program's own: other programs' injected keys (remote
// sessions, on-screen keyboards) are the user's.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM data) {
    // Stamped on the way in and out, so that the watchdog sees a slow call as alive.
    app.lastHookCallTick = app.clock();
    if (code != HC_ACTION || !data) return CallNextHookEx(app.keyboardHook, code, message, data);
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    bool own = key->dwExtraInfo == INJECTED_INPUT_MARK;
    bool swallow = false;
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
        swallow = PerformKeyPress(key->vkCode, own);
    else if (message == WM_KEYUP || message == WM_SYSKEYUP)
        swallow = PerformKeyRelease(key->vkCode, own);
    app.lastHookCallTick = app.clock();
    return swallow ? 1 : CallNextHookEx(app.keyboardHook, code, message, data);
}

namespace {

// A hook that was lost missed the releases meanwhile, so the modifiers start from what the system
// holds now; outside a hook call its key state is right.
void ReadHeldModifiers() {
    app.heldModifierKeys = 0;
    for (int vk : {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU, VK_LWIN, VK_RWIN}) {
        if (GetAsyncKeyState(vk) & 0x8000) NoteModifierKey(app, static_cast<uint32_t>(vk), true);
    }
}

} // namespace

// The program's own module handle: some Windows versions refuse a global hook without one.
void InstallKeyboardHook() {
    ReadHeldModifiers();
    app.keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, GetModuleHandleW(nullptr), 0);
}

void RemoveKeyboardHook() {
    if (!app.keyboardHook) return;
    UnhookWindowsHookEx(app.keyboardHook);
    app.keyboardHook = nullptr;
}
