// Throughput of the macro file codec on a 1,000,000-event macro: writing the text and reading it
// back, in MB/s of file text. Prints the best of a few runs.
#include "storage/MacroFile.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

constexpr size_t EVENT_COUNT = 1'000'000;
constexpr int RUNS = 5;

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// A mix like a recording: mostly small moves, some clicks and keys, delays of a few ms.
std::vector<MacroEvent> RecordedLikeEvents() {
    std::vector<MacroEvent> events;
    events.reserve(EVENT_COUNT);
    uint32_t seed = 12345;
    for (size_t i = 0; i < EVENT_COUNT; ++i) {
        seed = seed * 1664525u + 1013904223u;
        MacroEvent event;
        switch (seed >> 28) {
        case 0:
            event = {ButtonDown, 0, 0, 0x0001, 0, (seed >> 8) % 400};
            break;
        case 1:
            event = {ButtonUp, 0, 0, 0x0002, 0, (seed >> 8) % 400};
            break;
        case 2:
            event = {Key, 0, 0, 0, 0x41 + (seed >> 8) % 26, (seed >> 8) % 900};
            break;
        default:
            event = {Move,
                     static_cast<int32_t>((seed >> 4) % 61) - 30,
                     static_cast<int32_t>((seed >> 12) % 41) - 20,
                     0,
                     0,
                     (seed >> 20) % 16};
        }
        events.push_back(event);
    }
    return events;
}

} // namespace

int main() {
    ResetAppState();
    app.events = RecordedLikeEvents();
    app.recordHotkey = {HotkeyKeyboard, 0x75};

    std::string bytes;
    double bestWrite = 1e9;
    for (int run = 0; run < RUNS; ++run) {
        auto start = std::chrono::steady_clock::now();
        bytes = WriteMacroFile(app, L"Benchmark macro");
        bestWrite = std::min(bestWrite, Seconds(std::chrono::steady_clock::now() - start));
    }

    double bestRead = 1e9;
    size_t readEvents = 0;
    for (int run = 0; run < RUNS; ++run) {
        MacroFileContents contents = MacroFileStartValues(app);
        auto start = std::chrono::steady_clock::now();
        bool loaded = ReadMacroFile(bytes, contents);
        bestRead = std::min(bestRead, Seconds(std::chrono::steady_clock::now() - start));
        readEvents = loaded ? contents.events.size() : 0;
    }
    if (readEvents != EVENT_COUNT) {
        std::printf("read back %zu events instead of %zu\n", readEvents, EVENT_COUNT);
        return 1;
    }

    double megabytes = static_cast<double>(bytes.size()) / 1e6;
    std::printf("macro file, %zu events, %.1f MB of text\n", EVENT_COUNT, megabytes);
    std::printf("  write: %.1f ms, %.0f MB/s\n", bestWrite * 1e3, megabytes / bestWrite);
    std::printf("  read:  %.1f ms, %.0f MB/s (goal: at least 100 MB/s)\n", bestRead * 1e3,
                megabytes / bestRead);
    return 0;
}
