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

void CaptureKey(HotkeyBinding& binding, HWND edit, bool& capture, uint32_t vk) {
    binding = {HotkeyKeyboard, vk};
    ShowHotkeyText(edit, binding);
    capture = false;
}

void CaptureProfileTrigger(int32_t slot, uint32_t vk) {
    size_t index = static_cast<size_t>(slot);
    app.profileSlots[index].trigger = {HotkeyKeyboard, vk};
    ShowHotkeyText(app.profileHotkeyEdits[index], app.profileSlots[index].trigger);
    app.profileHotkeyCaptureSlot = -1;
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

bool PerformKeyPress(uint32_t vk) {
    bool repeat = NoteKeyDown(app, vk, app.clock());
    KeyPressDecision decision = DecideKeyPress(app, vk);
    if (decision.recordKey) RecordKeyPress(vk);
    NoteModifierKey(app, vk, true);
    if (repeat && IgnoresAutoRepeat(decision.rule)) return true;
    switch (decision.rule) {
    case KeyPressRule::HoldOffPress:
        HoldOffPress();
        break;
    case KeyPressRule::CaptureProfileTrigger:
        CaptureProfileTrigger(decision.slot, vk);
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
    case KeyPressRule::CaptureRecordHotkey:
        CaptureKey(app.recordHotkey, app.recordHotkeyEdit, app.recordHotkeyCapture, vk);
        break;
    case KeyPressRule::CapturePlayHotkey:
        CaptureKey(app.playHotkey, app.playHotkeyEdit, app.playHotkeyCapture, vk);
        break;
    case KeyPressRule::CaptureHoldOffHotkey:
        CaptureKey(app.holdOffHotkey, app.holdOffHotkeyEdit, app.holdOffHotkeyCapture, vk);
        break;
    case KeyPressRule::CaptureScrollPrev:
        CaptureKey(app.scrollPrevHotkey, app.scrollPrevEdit, app.scrollPrevCapture, vk);
        break;
    case KeyPressRule::CaptureScrollNext:
        CaptureKey(app.scrollNextHotkey, app.scrollNextEdit, app.scrollNextCapture, vk);
        break;
    case KeyPressRule::RecordHotkeyPress:
        RecordHotkeyPress();
        break;
    case KeyPressRule::PlayHotkeyPress:
        PlayHotkeyPress();
        break;
    case KeyPressRule::PassOn:
        return false;
    }
    return true;
}

bool PerformKeyRelease(uint32_t vk) {
    NoteKeyUp(app, vk);
    NoteModifierKey(app, vk, false);
    // Only keys whose press went into the recording: never the hotkeys, F4, F8 or a capture.
    RecordKeyRelease(vk);
    switch (DecideKeyRelease(app, vk)) {
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

// Keys injected by playback pass through the same rules: the structure's flags are not read.
LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM data) {
    // Stamped on the way in and out, so that the watchdog sees a slow call as alive.
    app.lastHookCallTick = app.clock();
    if (code != HC_ACTION || !data) return CallNextHookEx(app.keyboardHook, code, message, data);
    uint32_t vk = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data)->vkCode;
    bool swallow = false;
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN)
        swallow = PerformKeyPress(vk);
    else if (message == WM_KEYUP || message == WM_SYSKEYUP)
        swallow = PerformKeyRelease(vk);
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
