// Playback timing with the native clock and sleeps (steady_clock, a 1 ms sleep_for).
#include "bench/playback_timing.h"

#include <chrono>

namespace {

double SteadyMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

int main() {
    PlaybackIo io{};
    io.sleepOneMs = [] { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
    io.nowMs = SteadyMs;
    RunTimingBench("native", io);
    return 0;
}
