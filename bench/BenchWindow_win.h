// What the benchmarks that run the real main window under Wine share: making the window, pumping
// its messages and printing a set of timings.
#pragma once

#include "app/MainWindow_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
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
