// Recording fidelity under Wine: input fed at a steady real-time rate through the program's own
// raw-mouse handler and keyboard hook into a recording made with the real main window, then
// replayed by the playback engine with the real SendInput, every injection call stamped on the
// performance counter. Prints what was recorded and how it went out:
//   a 1000 Hz mouse for a second (recorded span within 1 %, replayed in its recorded time within 1 %);
//   Record, 1 s, a click, 3 s, stop (delays add up to 4 s within 20 ms; a Loop clicks every 4 s);
//   ten wheel notches and ten high-resolution turns of 30 (the same deltas, in order);
//   a key held 1200 ms (one press released 1200 +- 20 ms later) and Shift held across three clicks.
#include "bench/BenchWindow_win.h"
#include "input/KeyboardHook_win.h"
#include "input/RawMouse_win.h"
#include "macro/PlaybackSystem_win.h"
#include "macro/Playback_win.h"
#include "macro/Recorder_win.h"

#include <thread>

namespace {

// The playback's own clock, so that recorded and replayed times are read alike.
double NowMs() {
    static const PlaybackIo io = SystemPlaybackIo();
    return io.nowMs();
}

// Handles the window's messages until `deadline`, then spins the last fraction of a millisecond.
void WaitUntil(double deadline) {
    while (deadline - NowMs() > 1.5) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    while (NowMs() < deadline) {
    }
}

void Packet(int32_t dx, uint16_t flags = 0, int16_t wheel = 0) {
    RawMouseReading reading{reinterpret_cast<void*>(1), flags, dx, 0, 0, static_cast<uint16_t>(wheel)};
    HandleRawMouseReading(reading);
}

void Key(uint32_t vk, bool up) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    KeyboardHookProc(HC_ACTION, up ? WM_KEYUP : WM_KEYDOWN, reinterpret_cast<LPARAM>(&key));
}

// Every record the playback sends: when, and what ("move 1", "wheel -120", "down 2", "key 87 up").
struct Sent {
    double ms;
    std::string what;
    bool firstOfCall = false;
};
std::vector<Sent> sent;
std::vector<double> keyCallMs; // how long each keyboard SendInput call took
PlaybackIo systemIo;

bool LogMouse(const MouseInputRecord* records, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const MouseInputRecord& record = records[i];
        char text[48];
        if (record.flags & (MOUSE_FLAG_WHEEL | MOUSE_FLAG_HWHEEL))
            std::snprintf(text, sizeof text, "%s %d", record.flags & MOUSE_FLAG_WHEEL ? "wheel" : "hwheel",
                          static_cast<int32_t>(record.mouseData));
        else if (record.flags & MOUSE_FLAG_MOVE)
            std::snprintf(text, sizeof text, "move %d", record.dx);
        else
            std::snprintf(text, sizeof text, "button %u", record.flags);
        sent.push_back({NowMs(), text, i == 0});
    }
    return systemIo.sendMouse(records, count);
}

bool LogKeys(const KeyInputRecord* records, size_t count) {
    for (size_t i = 0; i < count; ++i)
        sent.push_back(
            {NowMs(), "key " + std::to_string(records[i].vk) + (records[i].up ? " up" : " down"), i == 0});
    double start = NowMs();
    bool inserted = systemIo.sendKeys(records, count);
    keyCallMs.push_back(NowMs() - start);
    return inserted;
}

// Replays the macro on a thread of its own (as the worker does) while this one handles the
// window's messages; a Loop is stopped after `loopMs`.
void Replay(int32_t mode, double loopMs = 0) {
    sent.clear();
    app.playMode = mode;
    PlaybackIo io = systemIo;
    io.sendMouse = LogMouse;
    io.sendKeys = LogKeys;
    io.postPlaybackDone = [] {};
    if (!PreparePlayback(io)) return;
    app.playing = true;
    bool done = false;
    std::thread player([&] {
        POINT warmUp;
        GetCursorPos(&warmUp); // as the program's worker does, so the thread is ready for input
        RunPlayback(io);
        done = true;
    });
    double start = NowMs();
    // Waiting as the program's message loop does, so that the hook answers each replayed key at once.
    while (!done) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        if (loopMs > 0 && NowMs() - start > loopMs) app.stopRequested = true;
    }
    player.join();
    app.playing = false;
    // Under Wine the replayed records come back as raw input a while later; none may reach the
    // next recording.
    WaitUntil(NowMs() + 500);
}

uint64_t DelaySum(size_t from = 0) {
    uint64_t sum = 0;
    for (size_t i = from; i < app.events.size(); ++i)
        sum += app.events[i].delayMs;
    return sum;
}

void FastMouse() {
    uint64_t clockStart = app.clock();
    double counterStart = NowMs();
    ToggleRecording();
    double first = NowMs() + 100;
    for (int i = 0; i < 1000; ++i) {
        WaitUntil(first + i);
        Packet(i % 2 ? -1 : 1);
    }
    double span = NowMs() - first;
    std::printf("recording clock against the performance counter: %llu ms against %.1f ms\n",
                static_cast<unsigned long long>(app.clock() - clockStart), NowMs() - counterStart);
    ToggleRecording();
    size_t moves = 0;
    uint64_t recorded = 0;
    for (size_t i = 0; i < app.events.size(); ++i) {
        if (app.events[i].type != Move) continue;
        if (moves++ > 0) recorded += app.events[i].delayMs;
    }
    std::printf(
        "1000 Hz mouse: fed 1000 packets over %.1f ms; recorded %zu Moves, delays after the first add "
        "up to %llu ms (%.2f %% off)\n",
        span, moves, static_cast<unsigned long long>(recorded), 100.0 * (recorded - span) / span);
    Replay(Once);
    double from = -1, to = 0;
    size_t steps = 0;
    for (const Sent& record : sent) {
        if (record.what.rfind("move", 0) != 0) continue;
        if (from < 0) from = record.ms;
        to = record.ms;
        ++steps;
    }
    // Moves that fall due together share a call: the gaps between calls, not between records.
    std::vector<double> calls;
    double previous = -1;
    for (const Sent& record : sent) {
        if (!record.firstOfCall) continue;
        if (previous >= 0) calls.push_back(record.ms - previous);
        previous = record.ms;
    }
    std::sort(calls.begin(), calls.end());
    std::printf("  replayed at speed 1.0: %zu moves over %.1f ms (%.2f %% off the recorded time) in %zu "
                "SendInput calls; median time from one call to the next %.2f ms\n",
                steps, to - from, 100.0 * (to - from - recorded) / recorded, calls.size() + 1,
                calls.empty() ? 0.0 : calls[calls.size() / 2]);
}

void Pauses() {
    double start = NowMs();
    ToggleRecording();
    WaitUntil(start + 1000);
    Packet(0, 0x0001);
    Packet(0, 0x0002);
    WaitUntil(start + 4000);
    ToggleRecording();
    std::printf("Record, 1 s, click, 3 s, stop: %zu events, delays add up to %llu ms (goal 4000 +- 20):",
                app.events.size(), static_cast<unsigned long long>(DelaySum()));
    for (const MacroEvent& event : app.events)
        std::printf(" type %d/%u ms", event.type, event.delayMs);
    Replay(Loop, 9000);
    std::printf("\n  Loop for 9 s, left presses sent at:");
    double first = -1;
    for (const Sent& record : sent) {
        if (record.what != "button 2") continue;
        if (first < 0) first = record.ms;
        std::printf(" %.1f", record.ms - first);
    }
    std::printf(" ms\n");
}

void WheelTurns() {
    ToggleRecording();
    double first = NowMs() + 50;
    for (int i = 0; i < 20; ++i) {
        WaitUntil(first + 50.0 * i);
        Packet(0, 0x0400, static_cast<int16_t>(i < 10 ? -120 : 30));
    }
    WaitUntil(first + 1000);
    ToggleRecording();
    std::printf("wheel recorded:");
    for (const MacroEvent& event : app.events)
        if (event.type == Wheel) std::printf(" %d", event.dy);
    Replay(Once);
    std::printf("\n  replayed:");
    for (const Sent& record : sent)
        if (record.what.rfind("wheel", 0) == 0) std::printf(" %s", record.what.c_str() + 6);
    std::printf("\n");
}

void HeldKeys() {
    constexpr uint32_t W = 0x57;
    ToggleRecording();
    double start = NowMs() + 50;
    WaitUntil(start);
    Key(W, false);
    for (double repeat = 500; repeat < 1200; repeat += 33) { // the keyboard's auto-repeat
        WaitUntil(start + repeat);
        Key(W, false);
    }
    WaitUntil(start + 1200);
    Key(W, true);
    WaitUntil(start + 1400);
    Key(VK_LSHIFT, false);
    for (int click = 0; click < 3; ++click) {
        WaitUntil(start + 1500 + 200 * click);
        Packet(0, 0x0001);
        WaitUntil(start + 1550 + 200 * click);
        Packet(0, 0x0002);
    }
    WaitUntil(start + 2200);
    Key(VK_LSHIFT, true);
    WaitUntil(start + 2300);
    ToggleRecording();
    Replay(Once);
    double down = -1, up = -1;
    std::string order;
    for (const Sent& record : sent) {
        if (record.what == "key 87 down" && down < 0) down = record.ms;
        if (record.what == "key 87 up") up = record.ms;
        if (record.what.rfind("key 160", 0) == 0 || record.what.rfind("button", 0) == 0)
            order += record.what + ", ";
    }
    std::sort(keyCallMs.begin(), keyCallMs.end());
    std::printf(
        "W held 1200 ms (with auto-repeats): recorded %zu events; replayed down to up %.1f ms (goal "
        "1200 +- 20); median keyboard SendInput call %.2f ms\n  Shift across three clicks replayed as: %s\n",
        app.events.size(), up - down, keyCallMs[keyCallMs.size() / 2], order.c_str());
}

} // namespace

int main() {
    KeepTimerResolution();
    if (!CreateBenchMainWindow()) return 1;
    systemIo = SystemPlaybackIo();
    app.speed = 1.0;
    // The replay runs beside this thread's message loop, which keeps the window caught up.
    app.interfaceWaiting = true;
    FastMouse();
    Pauses();
    WheelTurns();
    HeldKeys();
    return 0;
}
