// What the benchmarks that run the real main window under Wine share: making the window, pumping
// its messages and printing a set of timings.
#pragma once

#include "core/AppState.h"
#include "app/MainWindow_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

inline void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The main window, hidden, with its messages handled; null (and a line saying so) on failure.
inline HWND CreateBenchMainWindow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterMainWindowClass(instance);
    HWND window = CreateMainWindow(instance);
    if (!window) std::printf("the main window could not be created\n");
    PumpMessages();
    return window;
}

// One line: the count, median, p99 and worst of `times` (milliseconds), then the goal.
inline void PrintTimes(const char* what, std::vector<double> times, const char* goal) {
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    auto at = [&](double share) {
        return times[static_cast<size_t>(share * static_cast<double>(times.size() - 1))];
    };
    std::printf("%s: %zu runs, median %.3f ms, p99 %.3f ms, worst %.3f ms (goal: %s)\n", what, times.size(),
                at(0.5), at(0.99), times.back(), goal);
}

// A recording-like macro: small moves with a key press every 50 events.
inline std::vector<MacroEvent> MakeBenchEvents(size_t count) {
    std::vector<MacroEvent> events;
    events.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        auto step = static_cast<int32_t>(i % 21) - 10;
        events.push_back(i % 50 == 0 ? MacroEvent{Key, 0, 0, 0, 0x41, 120}
                                     : MacroEvent{Move, step, -step, 0, 0, 4});
    }
    return events;
}

// Saves `count` such events as `name` in the macro folder; the path, or empty on failure.
inline std::wstring WriteBenchMacro(const wchar_t* name, size_t count) {
    CreateFixedFolders();
    MacroFileContents contents;
    contents.events = MakeBenchEvents(count);
    std::wstring path = std::wstring(MACRO_FOLDER) + L"\\" + name;
    return WriteFileAtomically(path, WriteMacroFile(contents)) ? path : std::wstring();
}

inline double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}
