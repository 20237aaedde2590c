// The recording clock and the appending of recorded events. Appends hold the macro lock because
// the playback thread may be reading the macro at the same time.
#include "macro/Recorder.h"

#include "core/AppState.h"
#include "macro/Undo.h"

#include <algorithm>
#include <functional>
#include <limits>

namespace {

uint32_t SaturatingSum(uint32_t a, uint32_t b) {
    return a > std::numeric_limits<uint32_t>::max() - b ? std::numeric_limits<uint32_t>::max() : a + b;
}

// Removes the still unused taps of the held modifiers: a key or button pressed with them takes
// their place. Each tap hands its delay to the event after it, so every later event keeps its time.
// Called under the macro lock.
void FoldProvisionalTaps() {
    std::array<size_t, MODIFIER_KEY_SLOTS> taps = app.provisionalTaps;
    app.provisionalTaps = MakeNoProvisionalTaps();
    std::sort(taps.begin(), taps.end(), std::greater<>());
    for (size_t index : taps) {
        if (index >= app.events.size()) continue;
        if (index + 1 < app.events.size())
            app.events[index + 1].delayMs =
                SaturatingSum(app.events[index + 1].delayMs, app.events[index].delayMs);
        app.events.erase(app.events.begin() + static_cast<std::ptrdiff_t>(index));
    }
}

} // namespace

uint32_t TakeRecordingDelay(uint64_t now) {
    uint64_t gap = 0;
    if (!app.events.empty() && now > app.lastEventTick) gap = now - app.lastEventTick;
    app.lastEventTick = now;
    // A gap too long for the event's 32-bit delay keeps the longest delay rather than wrapping.
    return gap > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                      : static_cast<uint32_t>(gap);
}

void RecordMousePacket(int32_t dx, int32_t dy, uint32_t pressFlag, uint32_t releaseFlag) {
    if (!app.recording || !app.masterEnabled) return;
    uint32_t delay = TakeRecordingDelay(app.clock());
    if (delay < MOUSE_DELAY_FLOOR_MS) delay = 0;

    MacroEvent batch[3];
    size_t count = 0;
    if (dx != 0 || dy != 0) {
        batch[count++] = MacroEvent{Move, dx, dy, 0, 0, delay};
        delay = 0;
    }
    uint32_t modifiers = ModifiersOfHeldKeys(app.heldModifierKeys);
    if (pressFlag != 0) {
        batch[count++] = MacroEvent{ButtonDown, 0, 0, pressFlag, modifiers, delay};
        delay = 0;
    }
    if (releaseFlag != 0) batch[count++] = MacroEvent{ButtonUp, 0, 0, releaseFlag, 0, delay};
    if (count == 0) return;

    std::lock_guard lock(app.macroMutex);
    app.events.insert(app.events.end(), batch, batch + count);
    if (pressFlag != 0 && modifiers != 0) FoldProvisionalTaps();
}

void RecordKeyPress(uint32_t vk) {
    if (!app.recording) return;
    int slot = ModifierKeySlot(vk);
    // A held modifier repeats while nothing else is pressed; its one tap is already recorded.
    if (slot >= 0 && (app.heldModifierKeys >> slot) & 1) return;
    uint32_t delay = TakeRecordingDelay(app.clock());
    std::lock_guard lock(app.macroMutex);
    if (slot >= 0) {
        // A modifier's own tap carries no other modifier, and stays only if it is pressed alone.
        app.provisionalTaps[static_cast<size_t>(slot)] = app.events.size();
        app.events.push_back(MacroEvent{Key, 0, 0, 0, vk, delay});
        return;
    }
    uint32_t modifiers = ModifiersOfHeldKeys(app.heldModifierKeys);
    app.events.push_back(MacroEvent{Key, 0, 0, 0, vk | modifiers, delay});
    if (modifiers != 0) FoldProvisionalTaps();
}

void DropProvisionalTaps() {
    std::lock_guard lock(app.macroMutex);
    FoldProvisionalTaps();
}

void KeepModifierTap(uint32_t vk) {
    int slot = ModifierKeySlot(vk);
    if (slot >= 0) app.provisionalTaps[static_cast<size_t>(slot)] = NO_EVENT;
}

void BeginRecording() {
    app.recording = true;
    ReplaceEvents({});
    ++app.macroRevision; // also when it replaces an empty macro
    {
        // Room for 17 minutes at 1000 Hz: a growing macro copied to a larger block while a raw
        // input message waits would stall the window for tens of milliseconds. Pages are touched
        // only as events arrive.
        std::lock_guard lock(app.macroMutex);
        app.events.reserve(RECORDING_RESERVED_EVENTS);
    }
    // The list's rows describe the macro that was just discarded; ticks and the selection must not
    // reach the events recorded from now on.
    app.rowTicks.clear();
    app.selectedRow = NO_ROW;
    app.lastEventTick = app.clock();
}

void EndRecording() {
    app.recording = false;
}

void DropEventsFromLastPress(uint32_t pressFlag) {
    std::lock_guard lock(app.macroMutex);
    for (size_t i = app.events.size(); i-- > 0;) {
        const MacroEvent& event = app.events[i];
        if (event.type != ButtonDown || event.button != pressFlag) continue;
        app.events.resize(i);
        return;
    }
}
