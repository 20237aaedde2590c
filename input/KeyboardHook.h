// The keyboard hook's rules without Win32: which rule a key press or release falls under, in the
// fixed order the hook tests them, how a capture turns keys into a binding, and what the play
// hotkey does in the current state. Keys the program injected itself (its mark) are `own`.
#pragma once

#include "core/AppState.h"

#include <cstdint>

// The press rules; the first that applies ends the processing. Every rule but PassOn swallows.
enum class KeyPressRule {
    HoldOffPress,
    CaptureProfileTrigger,
    ClearRecordPlayHotkeys, // F8
    ToggleMaster,           // F4
    SwitchToProfile,
    SelectPreviousProfile,
    SelectNextProfile,
    CancelCapture, // Escape during a capture: the binding stays as it was
    AwaitChordKey, // a modifier during a capture: the next key makes the chord
    CaptureRecordHotkey,
    CapturePlayHotkey,
    CaptureHoldOffHotkey,
    CaptureScrollPrev,
    CaptureScrollNext,
    RecordHotkeyPress,
    PlayHotkeyPress,
    SwallowRepeat, // the auto-repeat of a key whose rule acts once per press
    PassOn,
};

struct KeyPressDecision {
    KeyPressRule rule = KeyPressRule::PassOn;
    // The profile slot of SwitchToProfile and CaptureProfileTrigger, else -1.
    int32_t slot = -1;
    // The key goes into the recording before the rule acts.
    bool recordKey = false;
    // What a capture binds: the key, with the modifiers held for a chord.
    uint32_t code = 0;
    // The record or play hotkey pressed during a recording: the held modifiers' taps go with it.
    bool dropModifierTaps = false;
    // The key was down already: an auto-repeat.
    bool repeat = false;

    bool operator==(const KeyPressDecision&) const = default;
};

// A modifier pressed alone during a capture binds itself when it is released.
enum class KeyReleaseRule { HoldOffRelease, PlayHotkeyRelease, CaptureModifier, PassOn };

// The press as the bindings see it: the key, with the other modifiers held when together they are
// a bound chord. A key bound alone thus acts whatever modifiers are held, unless they make the
// press a chord bound to something else.
uint32_t PressCode(const AppState& state, uint32_t vk);
KeyPressDecision DecideKeyPress(const AppState& state, uint32_t vk, bool own = false);
KeyReleaseRule DecideKeyRelease(const AppState& state, uint32_t vk, bool own = false);
// The armed capture's rule for a key (PassOn when none is armed): Escape cancels, a modifier waits
// for the key of its chord unless it is `released` alone, any other key is bound with the held
// modifiers.
KeyPressDecision DecideCapture(const AppState& state, uint32_t vk, bool released = false);
// The hook's view of one press: notes its auto-repeat at `now`, decides its rule, and swallows
// without acting the repeat of a rule that acts once per press.
KeyPressDecision TakeKeyPress(AppState& state, uint32_t vk, bool own, uint64_t now);

enum class PlayPressAction { Nothing, RequestStop, StartPlayback };

// A press of the play hotkey (key or mouse button): nothing while the master switch or the hold
// state is off; in Hold mode it only starts; otherwise it starts or stops.
PlayPressAction DecidePlayHotkeyPress(const AppState& state);

// The longest gap between a key's press and its first auto-repeat, or between two repeats, that
// the system allows (its keyboard delay goes up to one second), with some room.
constexpr uint64_t AUTO_REPEAT_GAP_MS = 1500;

// Notes a key press at `now`; true when it is the auto-repeat of that key, pressed before and not
// released since. Each key is tracked on its own. A press long after the last one of the same key
// counts as new, so a release the hook missed (while it
// was stalled or removed) costs no more than that gap.
bool NoteKeyDown(AppState& state, uint32_t vk, uint64_t now);
void NoteKeyUp(AppState& state, uint32_t vk);

// Keeps `heldModifierKeys` up to date from the hook's own key downs and ups.
void NoteModifierKey(AppState& state, uint32_t vk, bool down);

// The rules that flip a switch (F4, the record hotkey, the play hotkey) act once per press: a key
// held past the repeat delay would otherwise flip it on and off, and a record hotkey held while
// stopping would start a new recording over the one just made.
bool IgnoresAutoRepeat(KeyPressRule rule);
