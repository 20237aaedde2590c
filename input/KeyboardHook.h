// The keyboard hook's rules without Win32: which rule a key press or release falls under, in the
// fixed order the hook tests them, and what the play hotkey does in the current state.
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
    CaptureRecordHotkey,
    CapturePlayHotkey,
    CaptureHoldOffHotkey,
    CaptureScrollPrev,
    CaptureScrollNext,
    RecordHotkeyPress,
    PlayHotkeyPress,
    PassOn,
};

struct KeyPressDecision {
    KeyPressRule rule = KeyPressRule::PassOn;
    // The profile slot of SwitchToProfile and CaptureProfileTrigger, else -1.
    int32_t slot = -1;
    // The key goes into the recording before the rule acts.
    bool recordKey = false;

    bool operator==(const KeyPressDecision&) const = default;
};

enum class KeyReleaseRule { HoldOffRelease, PlayHotkeyRelease, PassOn };

KeyPressDecision DecideKeyPress(const AppState& state, uint32_t vk);
KeyReleaseRule DecideKeyRelease(const AppState& state, uint32_t vk);

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
