// The keyboard hook's rules without Win32: which rule a key press or release falls under, in the
// fixed order the hook tests them, and what the play hotkey does in the current state.
#pragma once

#include "app/AppState.h"

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

// The first enabled profile slot whose trigger is this key, or -1.
int32_t ProfileSlotTriggeredBy(const AppState& state, uint32_t vk);

enum class PlayPressAction { Nothing, RequestStop, StartPlayback };

// A press of the play hotkey (key or mouse button): nothing while the master switch or the hold
// state is off; in Hold mode it only starts; otherwise it starts or stops.
PlayPressAction DecidePlayHotkeyPress(const AppState& state);
