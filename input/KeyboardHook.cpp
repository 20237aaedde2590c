// The keyboard hook's rule order: fixed keys, suspended-state keys, captures, recording, hotkeys.
#include "input/KeyboardHook.h"

#include "ui/windows/ProfileSwitching.h"

KeyPressDecision DecideKeyPress(const AppState& state, uint32_t vk) {
    using enum KeyPressRule;
    bool mainCaptureArmed =
        state.recordHotkeyCapture || state.playHotkeyCapture || state.holdOffHotkeyCapture;
    if (!mainCaptureArmed && MatchesKey(state.holdOffHotkey, vk)) return {HoldOffPress};
    if (state.profileHotkeyCaptureSlot >= 0 && state.profileHotkeyCaptureSlot < PROFILE_SLOT_COUNT)
        return {CaptureProfileTrigger, state.profileHotkeyCaptureSlot};
    // F4 and F8 come before the captures, so they can never become the record, play or hold-off key.
    if (vk == VK_F8_KEY) return {ClearRecordPlayHotkeys};
    if (vk == VK_F4_KEY) return {ToggleMaster};

    // While switched off, only the keys that switch profiles or the hold state still act.
    if (!state.masterEnabled || !state.holdStateOn) {
        int32_t slot = TriggeredSlot(state.profileSlots, vk);
        if (slot >= 0) return {SwitchToProfile, slot};
        if (MatchesKey(state.holdOffHotkey, vk)) return {HoldOffPress};
        if (MatchesKey(state.scrollPrevHotkey, vk)) return {SelectPreviousProfile};
        if (MatchesKey(state.scrollNextHotkey, vk)) return {SelectNextProfile};
    }

    if (state.recordHotkeyCapture) return {CaptureRecordHotkey};
    if (state.playHotkeyCapture) return {CapturePlayHotkey};
    if (state.holdOffHotkeyCapture) return {CaptureHoldOffHotkey};
    if (state.scrollPrevCapture) return {CaptureScrollPrev};
    if (state.scrollNextCapture) return {CaptureScrollNext};

    // The record and play hotkeys are never recorded. Scroll keys and profile triggers are recorded
    // like any key and do not switch: loading a slot's macro would replace the recording. They act
    // when the macro replays them.
    bool hotkey = MatchesKey(state.recordHotkey, vk) || MatchesKey(state.playHotkey, vk);
    if (state.recording && !hotkey) return {PassOn, -1, true};
    if (MatchesKey(state.scrollPrevHotkey, vk)) return {SelectPreviousProfile};
    if (MatchesKey(state.scrollNextHotkey, vk)) return {SelectNextProfile};
    if (MatchesKey(state.recordHotkey, vk)) return {RecordHotkeyPress};
    if (MatchesKey(state.playHotkey, vk)) return {PlayHotkeyPress};
    int32_t slot = TriggeredSlot(state.profileSlots, vk);
    if (slot >= 0) return {SwitchToProfile, slot};
    return {PassOn};
}

KeyReleaseRule DecideKeyRelease(const AppState& state, uint32_t vk) {
    if (MatchesKey(state.holdOffHotkey, vk)) return KeyReleaseRule::HoldOffRelease;
    if (state.playMode == Hold && MatchesKey(state.playHotkey, vk)) return KeyReleaseRule::PlayHotkeyRelease;
    return KeyReleaseRule::PassOn;
}

PlayPressAction DecidePlayHotkeyPress(const AppState& state) {
    if (!state.masterEnabled || !state.holdStateOn) return PlayPressAction::Nothing;
    if (!state.playing) return PlayPressAction::StartPlayback;
    return state.playMode == Hold ? PlayPressAction::Nothing : PlayPressAction::RequestStop;
}

bool NoteKeyDown(AppState& state, uint32_t vk, uint64_t now) {
    if (vk >= state.keyDownTicks.size()) return false;
    uint64_t& tick = state.keyDownTicks[vk];
    // The tick is kept one above the clock so that 0 can mean "up" at any clock value.
    bool repeat = tick != 0 && now + 1 - tick <= AUTO_REPEAT_GAP_MS;
    tick = now + 1;
    return repeat;
}

void NoteKeyUp(AppState& state, uint32_t vk) {
    if (vk < state.keyDownTicks.size()) state.keyDownTicks[vk] = 0;
}

void NoteModifierKey(AppState& state, uint32_t vk, bool down) {
    int slot = ModifierKeySlot(vk);
    if (slot < 0) return;
    if (down)
        state.heldModifierKeys |= 1u << slot;
    else
        state.heldModifierKeys &= ~(1u << slot);
}

bool IgnoresAutoRepeat(KeyPressRule rule) {
    using enum KeyPressRule;
    return rule == ToggleMaster || rule == RecordHotkeyPress || rule == PlayHotkeyPress;
}
