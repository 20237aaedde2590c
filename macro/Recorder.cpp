// The recording clock and the appending of recorded events. Appends hold the macro lock because
// the playback thread may be reading the macro at the same time.
#include "macro/Recorder.h"

#include "core/AppState.h"
#include "macro/Undo.h"

#include <array>
#include <bitset>
#include <limits>

namespace {

uint32_t Saturated(uint64_t delay) {
    return delay > std::numeric_limits<uint32_t>::max() ? std::numeric_limits<uint32_t>::max()
                                                        : static_cast<uint32_t>(delay);
}

// The button slot (left, right, middle, fourth, fifth) of a press or release flag, -1 for others.
int ButtonSlot(uint32_t flag) {
    for (int slot = 0; slot < 5; ++slot) {
        if (flag == BUTTON_PRESS_FLAGS[slot] || flag == BUTTON_RELEASE_FLAGS[slot]) return slot;
    }
    return -1;
}

// Releases, at the stop, of the buttons and keys the recording left pressed: a replay must never
// leave one down. Read from the events, since the click on Record may have been cut off.
// Called under the macro lock.
void AppendReleasesOfHeldInput() {
    std::array<bool, 5> buttons{};
    std::bitset<KEY_CODE_BITS + 1> keys;
    for (const MacroEvent& event : app.events) {
        int slot = ButtonSlot(event.button);
        if ((event.type == ButtonDown || event.type == ButtonUp) && slot >= 0)
            buttons[static_cast<size_t>(slot)] = event.type == ButtonDown;
        else if (event.type == Key && (event.vk & KEY_HELD))
            keys.set(event.vk & KEY_CODE_BITS);
        else if (event.type == KeyUp)
            keys.reset(event.vk & KEY_CODE_BITS);
    }
    for (size_t slot = 0; slot < buttons.size(); ++slot) {
        if (buttons[slot]) app.events.push_back(MacroEvent{ButtonUp, 0, 0, BUTTON_RELEASE_FLAGS[slot], 0, 0});
    }
    for (uint32_t vk = 0; vk <= KEY_CODE_BITS; ++vk) {
        if (keys[vk]) app.events.push_back(MacroEvent{KeyUp, 0, 0, 0, vk, 0});
    }
}

// The packet's buttons were pressed or released where the cursor is.
void PlaceButtons(MacroEvent* batch, size_t count, std::optional<ScreenPoint> cursor) {
    if (!cursor) return;
    for (size_t i = 0; i < count; ++i) {
        if (batch[i].type != ButtonDown && batch[i].type != ButtonUp) continue;
        batch[i].dx = cursor->x;
        batch[i].dy = cursor->y;
        batch[i].vk |= AT_POSITION;
    }
}

} // namespace

uint64_t TakeRecordingDelay(uint64_t now) {
    uint64_t delay = app.carriedDelayMs;
    // A clock that went back gives no gap; it only restarts.
    if (now > app.lastEventTick) delay += now - app.lastEventTick;
    app.lastEventTick = now;
    app.carriedDelayMs = 0;
    return delay;
}

void RecordMousePacket(int32_t dx, int32_t dy, uint32_t pressFlag, uint32_t releaseFlag, int32_t wheelDx,
                       int32_t wheelDy, std::optional<ScreenPoint> cursor) {
    if (!app.recording || !app.masterEnabled) return;
    uint64_t gap = TakeRecordingDelay(app.clock());

    MacroEvent batch[4];
    size_t count = 0;
    if (dx != 0 || dy != 0) batch[count++] = MacroEvent{Move, dx, dy, 0, 0, 0};
    if (pressFlag != 0) batch[count++] = MacroEvent{ButtonDown, 0, 0, pressFlag, 0, 0};
    if (releaseFlag != 0) batch[count++] = MacroEvent{ButtonUp, 0, 0, releaseFlag, 0, 0};
    if (wheelDx != 0 || wheelDy != 0) batch[count++] = MacroEvent{Wheel, wheelDx, wheelDy, 0, 0, 0};
    // A 1000 Hz mouse sends packets 1 ms apart: their gaps go on until they reach the floor, so
    // the movement keeps its pace while each small step still goes out without a wait of its own.
    if (count == 0 || gap < MOUSE_DELAY_FLOOR_MS) {
        app.carriedDelayMs = gap;
        if (count == 0) return;
    } else {
        batch[0].delayMs = Saturated(gap);
    }
    PlaceButtons(batch, count, cursor);

    std::lock_guard lock(app.macroMutex);
    app.events.insert(app.events.end(), batch, batch + count);
}

void RecordKeyPress(uint32_t vk) {
    if (!app.recording) return;
    uint32_t delay = Saturated(TakeRecordingDelay(app.clock()));
    if (vk < app.recordedKeysDown.size()) app.recordedKeysDown.set(vk);
    std::lock_guard lock(app.macroMutex);
    app.events.push_back(MacroEvent{Key, 0, 0, 0, (vk & KEY_CODE_BITS) | KEY_HELD, delay});
}

void RecordKeyRelease(uint32_t vk) {
    if (!app.recording || vk >= app.recordedKeysDown.size() || !app.recordedKeysDown[vk]) return;
    app.recordedKeysDown.reset(vk);
    uint32_t delay = Saturated(TakeRecordingDelay(app.clock()));
    std::lock_guard lock(app.macroMutex);
    app.events.push_back(MacroEvent{KeyUp, 0, 0, 0, vk, delay});
}

void DropHeldModifierPresses() {
    if (!app.recording) return;
    std::lock_guard lock(app.macroMutex);
    for (uint32_t vk = 0; vk < app.recordedKeysDown.size(); ++vk) {
        if (!app.recordedKeysDown[vk] || ModifierKeySlot(vk) < 0) continue;
        app.recordedKeysDown.reset(vk);
        // Its presses since its last release, auto-repeats included; their time stays in the macro.
        for (size_t i = app.events.size(); i-- > 0;) {
            const MacroEvent& event = app.events[i];
            if (event.type == KeyUp && event.vk == vk) break;
            if (event.type != Key || event.vk != (vk | KEY_HELD)) continue;
            if (i + 1 < app.events.size())
                app.events[i + 1].delayMs = Saturated(uint64_t{app.events[i + 1].delayMs} + event.delayMs);
            else
                app.carriedDelayMs += event.delayMs;
            app.events.erase(app.events.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
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
    app.carriedDelayMs = 0;
    app.recordedKeysDown.reset();
}

void EndRecording() {
    app.recording = false;
    app.recordedKeysDown.reset();
    // "Click, wait three seconds" loops with its wait; a Loop of the click alone floods the target.
    uint64_t pause = TakeRecordingDelay(app.clock());
    std::lock_guard lock(app.macroMutex);
    if (app.events.empty()) return;
    if (pause > MOUSE_DELAY_FLOOR_MS) app.events.push_back(MacroEvent{Wait, 0, 0, 0, 0, Saturated(pause)});
    AppendReleasesOfHeldInput();
}

void DropEventsFromLastPress(uint32_t pressFlag) {
    std::lock_guard lock(app.macroMutex);
    for (size_t i = app.events.size(); i-- > 0;) {
        const MacroEvent& event = app.events[i];
        if (event.type != ButtonDown || event.button != pressFlag) continue;
        for (size_t dropped = i; dropped < app.events.size(); ++dropped)
            app.carriedDelayMs += app.events[dropped].delayMs;
        app.events.resize(i);
        return;
    }
}
