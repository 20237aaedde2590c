// The keyboard hook's rule order: fixed keys, suspended-state keys, captures, recording, hotkeys.
#include "input/KeyboardHook.h"

#include "ui/windows/ProfileSwitching.h"

namespace {

bool MainCaptureArmed(const AppState& state) {
    return state.recordHotkeyCapture || state.playHotkeyCapture || state.holdOffHotkeyCapture;
}

bool BindsCode(const AppState& state, uint32_t code) {
    for (const HotkeyBinding* binding : {&state.recordHotkey, &state.playHotkey, &state.holdOffHotkey,
                                         &state.scrollPrevHotkey, &state.scrollNextHotkey}) {
        if (MatchesKey(*binding, code)) return true;
    }
    return TriggeredSlot(state.profileSlots, code) >= 0;
}

// The modifiers held besides the key itself (a held modifier's repeats find its own bit set).
uint32_t OtherHeldModifiers(const AppState& state, uint32_t vk) {
    int slot = ModifierKeySlot(vk);
    uint32_t held = slot < 0 ? state.heldModifierKeys : state.heldModifierKeys & ~(1u << slot);
    return ModifiersOfHeldKeys(held);
}

} // namespace

uint32_t PressCode(const AppState& state, uint32_t vk) {
    uint32_t modifiers = OtherHeldModifiers(state, vk);
    return modifiers != 0 && BindsCode(state, vk | modifiers) ? vk | modifiers : vk;
}

KeyPressDecision DecideCapture(const AppState& state, uint32_t vk, bool released) {
    using enum KeyPressRule;
    KeyPressRule rule = PassOn;
    int32_t slot = -1;
    if (state.profileHotkeyCaptureSlot >= 0 && state.profileHotkeyCaptureSlot < PROFILE_SLOT_COUNT) {
        rule = CaptureProfileTrigger;
        slot = state.profileHotkeyCaptureSlot;
    } else if (state.recordHotkeyCapture) {
        rule = CaptureRecordHotkey;
    } else if (state.playHotkeyCapture) {
        rule = CapturePlayHotkey;
    } else if (state.holdOffHotkeyCapture) {
        rule = CaptureHoldOffHotkey;
    } else if (state.scrollPrevCapture) {
        rule = CaptureScrollPrev;
    } else if (state.scrollNextCapture) {
        rule = CaptureScrollNext;
    }
    if (rule == PassOn) return {};
    if (released) return {rule, slot, false, vk};
    if (vk == VK_ESCAPE_KEY) return {CancelCapture};
    if (ModifierKeySlot(vk) >= 0) return {AwaitChordKey};
    return {rule, slot, false, vk | OtherHeldModifiers(state, vk)};
}

KeyPressDecision DecideKeyPress(const AppState& state, uint32_t vk, bool own) {
    using enum KeyPressRule;
    // The program's own replayed keys never act as its switches or captures: a macro that types
    // its play hotkey would stop itself. Profile keys it replays still switch.
    uint32_t code = PressCode(state, vk);
    auto matches = [&](const HotkeyBinding& binding) { return !own && MatchesKey(binding, code); };
    if (!MainCaptureArmed(state) && matches(state.holdOffHotkey)) return {HoldOffPress};
    if (!own && state.profileHotkeyCaptureSlot >= 0) {
        KeyPressDecision capture = DecideCapture(state, vk);
        if (capture.rule != PassOn) return capture;
    }
    // F4 and F8 come before the captures, so they can never become the record, play or hold-off key.
    if (!own && vk == VK_F8_KEY) return {ClearRecordPlayHotkeys};
    if (!own && vk == VK_F4_KEY) return {ToggleMaster};

    // While switched off, only the keys that switch profiles or the hold state still act.
    if (!state.masterEnabled || !state.holdStateOn) {
        int32_t slot = TriggeredSlot(state.profileSlots, code);
        if (slot >= 0) return {SwitchToProfile, slot};
        if (matches(state.holdOffHotkey)) return {HoldOffPress};
        if (MatchesKey(state.scrollPrevHotkey, code)) return {SelectPreviousProfile};
        if (MatchesKey(state.scrollNextHotkey, code)) return {SelectNextProfile};
    }

    if (!own) {
        KeyPressDecision capture = DecideCapture(state, vk);
        if (capture.rule != PassOn) return capture;
    }

    // The record and play hotkeys are never recorded. Scroll keys and profile triggers are recorded
    // like any key and do not switch: loading a slot's macro would replace the recording. They act
    // when the macro replays them.
    bool hotkey = matches(state.recordHotkey) || matches(state.playHotkey);
    if (state.recording && !hotkey) return {PassOn, -1, true};
    if (MatchesKey(state.scrollPrevHotkey, code)) return {SelectPreviousProfile};
    if (MatchesKey(state.scrollNextHotkey, code)) return {SelectNextProfile};
    KeyPressDecision decision{PassOn};
    if (matches(state.recordHotkey))
        decision.rule = RecordHotkeyPress;
    else if (matches(state.playHotkey))
        decision.rule = PlayHotkeyPress;
    else if (int32_t slot = TriggeredSlot(state.profileSlots, code); slot >= 0)
        return {SwitchToProfile, slot};
    // A chord's modifiers went into the recording before its key: they go with it.
    decision.dropModifierTaps = decision.rule != PassOn && state.recording;
    return decision;
}

KeyReleaseRule DecideKeyRelease(const AppState& state, uint32_t vk, bool own) {
    if (own) return KeyReleaseRule::PassOn;
    if (state.captureModifierPending && ModifierKeySlot(vk) >= 0 &&
        DecideCapture(state, vk, true).rule != KeyPressRule::PassOn)
        return KeyReleaseRule::CaptureModifier;
    if (ReleasesKey(state.holdOffHotkey, vk)) return KeyReleaseRule::HoldOffRelease;
    if (state.playMode == Hold && ReleasesKey(state.playHotkey, vk)) return KeyReleaseRule::PlayHotkeyRelease;
    return KeyReleaseRule::PassOn;
}

KeyPressDecision TakeKeyPress(AppState& state, uint32_t vk, bool own, uint64_t now) {
    bool repeat = NoteKeyDown(state, vk, now);
    KeyPressDecision decision = DecideKeyPress(state, vk, own);
    decision.repeat = repeat;
    if (repeat && IgnoresAutoRepeat(decision.rule)) decision.rule = KeyPressRule::SwallowRepeat;
    return decision;
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
