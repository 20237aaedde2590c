// The timing benchmark shared by the native and the Wine build: how long a 1000-event macro
// takes to play against how long its waits add up to, and how soon a stop request ends playback.
// The caller supplies the real clock and the real 1 ms sleep; nothing is injected.
#pragma once

#include "macro/Playback.h"
#include "macro/Undo.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

inline std::atomic<double> benchDoneAtMs{0};
inline double (*benchNowMs)() = nullptr;
// When each record of the timing macro was sent; one record per event.
inline std::vector<double> benchSentAtMs;

inline bool NoteSent() {
    benchSentAtMs.push_back(benchNowMs());
    return true;
}

// The p50, p99 and maximum of `values`, which it sorts.
inline void PrintPercentiles(const char* what, std::vector<double>& values) {
    if (values.empty()) return;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    std::printf("  %s: p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", what, values[n / 2], values[n * 99 / 100],
                values.back());
}

// 1000 events whose delays (1 to 9 ms) add up to 5 s; Moves where the delay reaches the floor.
inline std::vector<MacroEvent> TimingMacro() {
    std::vector<MacroEvent> events;
    uint32_t sum = 0;
    for (uint32_t i = 0; i < 1000; ++i) {
        uint32_t delay = 1 + (i * 7919u) % 9;
        events.push_back(delay >= MOUSE_DELAY_FLOOR_MS ? MacroEvent{Move, 1, -1, 0, 0, delay}
                                                       : MacroEvent{Key, 0, 0, 0, 0x41, delay});
        sum += delay;
    }
    events.back().delayMs += 5000 - sum;
    return events;
}

inline double IntendedMs(const std::vector<MacroEvent>& events, double speed) {
    double total = 0;
    for (const MacroEvent& event : events) {
        if (EventWaits(event)) total += ScheduledWaitMs(event.delayMs, speed);
    }
    return total;
}

inline PlaybackIo SilentIo(const PlaybackIo& real) {
    PlaybackIo io = real;
    io.sendMouse = [](const MouseInputRecord*, size_t) { return NoteSent(); };
    io.sendKeys = [](const KeyInputRecord*, size_t) { return NoteSent(); };
    io.cursorPos = [] { return ScreenPoint{}; };
    io.setCursorPos = [](ScreenPoint) {};
    io.confineCursor = [](ScreenPoint, ScreenPoint) {};
    io.freeCursor = [] {};
    io.repaintPathEditor = [] {};
    io.postPlaybackDone = [] { benchDoneAtMs = benchNowMs(); };
    benchNowMs = real.nowMs;
    return io;
}

inline void RunTimingBench(const char* where, const PlaybackIo& real) {
    PlaybackIo io = SilentIo(real);
    std::vector<MacroEvent> macro = TimingMacro();
    std::printf("playback timing (%s): 1000 events, delays summing to 5000 ms\n", where);

    for (double speed : {1.0, 0.6}) {
        ResetAppState();
        ReplaceEvents(macro);
        app.speed = speed;
        double intended = IntendedMs(macro, speed);
        benchSentAtMs.clear();
        double start = io.nowMs();
        RunPlayback(io);
        double actual = benchDoneAtMs - start;

        // How late each event went out against the deadline its wait had, each wait starting when
        // the event before it went out: the jitter, where actual/intended shows the drift.
        std::vector<double> lateness;
        PassSchedule schedule{start};
        for (size_t i = 0; i < macro.size() && i < benchSentAtMs.size(); ++i) {
            double waitStart = i == 0 ? start : benchSentAtMs[i - 1];
            double due = AdvanceSchedule(schedule, waitStart, ScheduledWaitMs(macro[i].delayMs, speed));
            lateness.push_back(benchSentAtMs[i] - due);
        }

        // The same waits counted in sleeps, as a wait made of n Sleep(1) calls would last.
        double sleepStart = io.nowMs();
        for (const MacroEvent& event : macro) {
            if (!EventWaits(event)) continue;
            for (uint64_t n = WaitLengthMs(event.delayMs, speed); n > 0; --n)
                io.sleepOneMs();
        }
        double counted = io.nowMs() - sleepStart;
        std::printf("  speed %.1f: intended %.0f ms, actual %.1f ms, actual/intended %.4f "
                    "(counting sleeps instead: %.4f)\n",
                    speed, intended, actual, actual / intended, counted / intended);
        PrintPercentiles("lateness per event", lateness);
    }

    // A stop request at a random moment of a long wait, 200 times.
    std::vector<double> latencies;
    uint32_t seed = 12345;
    for (int trial = 0; trial < 200; ++trial) {
        ResetAppState();
        ReplaceEvents({{Key, 0, 0, 0, 0x41, 60000}});
        benchDoneAtMs = 0;
        std::thread player([&io] { RunPlayback(io); });
        seed = seed * 1103515245u + 12345u;
        std::this_thread::sleep_for(std::chrono::microseconds(3000 + (seed >> 16) % 9000));
        double stopAt = io.nowMs();
        app.stopRequested = true;
        player.join();
        latencies.push_back(benchDoneAtMs - stopAt);
    }
    PrintPercentiles("stop latency over 200 stops", latencies);
}
