// Cost of the per-input work on the UI thread: the hook's rule decision for one key, the decode
// of one raw mouse packet, and the appending of one recorded packet (macro lock included).
#include "core/AppState.h"
#include "input/KeyboardHook.h"
#include "input/RawMouse.h"
#include "macro/Recorder.h"

#include <chrono>
#include <cstdio>

namespace {

uint64_t tick = 0;
uint64_t SteppingClock() {
    return tick += 3;
}

template <typename Work> double NanosecondsPerCall(size_t calls, Work work) {
    auto start = std::chrono::steady_clock::now();
    for (size_t i = 0; i < calls; ++i)
        work(i);
    std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / static_cast<double>(calls);
}

} // namespace

int main() {
    constexpr size_t CALLS = 2'000'000;
    app.recordHotkey = {HotkeyKeyboard, 0x75};
    app.playHotkey = {HotkeyKeyboard, 0x76};
    app.holdOffHotkey = {HotkeyKeyboard, 0x20};
    for (int slot = 0; slot < PROFILE_SLOT_COUNT; ++slot)
        app.profileSlots[static_cast<size_t>(slot)] = {
            true, {HotkeyKeyboard, 0x30u + static_cast<uint32_t>(slot)}, L""};
    app.recording = true;

    volatile int sink = 0;
    double decide = NanosecondsPerCall(CALLS, [&](size_t i) {
        sink = sink + static_cast<int>(DecideKeyPress(app, 0x41 + static_cast<uint32_t>(i % 26)).rule);
    });
    double decode = NanosecondsPerCall(CALLS, [&](size_t i) {
        MousePacket packet;
        RawMouseReading reading{nullptr, static_cast<uint16_t>(i & 0x3FF), 1, -1};
        if (DecodeMousePacket(app, reading, packet)) sink = sink + static_cast<int>(packet.press);
    });
    app.clock = SteppingClock;
    BeginRecording();
    double record = NanosecondsPerCall(CALLS, [&](size_t i) {
        RecordMousePacket(1, -1, (i & 7) == 0 ? 0x0001 : 0, (i & 7) == 4 ? 0x0002 : 0);
    });
    std::printf("hook rule decision: %.1f ns per key\n", decide);
    std::printf("raw packet filter and decode: %.1f ns per packet\n", decode);
    std::printf("recording a mouse packet: %.1f ns per packet (%zu events)\n", record, app.events.size());
    return 0;
}
