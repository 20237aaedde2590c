// Handling time of the keyboard hook procedure with the real main window, run under Wine: key
// presses and releases while recording at a high rate. Windows drops a low-level hook whose call
// takes too long (300 ms by default), so the p99 must stay far below that; the goal is under 5 ms.
// The profile keys, which load a macro inside the hook, are measured by profile_switch_win.
#include "core/AppState.h"
#include "bench/BenchWindow_win.h"
#include "input/KeyboardHook_win.h"
#include "macro/Recorder_win.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int KEY_PRESSES = 20'000;

double CallHookMs(uint32_t vk, WPARAM message) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    auto start = std::chrono::steady_clock::now();
    KeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&key));
    auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

int main() {
    HWND window = CreateBenchMainWindow();
    if (!window) return 1;

    ToggleRecording();
    std::vector<double> recording;
    for (int i = 0; i < KEY_PRESSES; ++i) {
        uint32_t vk = 'A' + static_cast<uint32_t>(i % 26);
        recording.push_back(CallHookMs(vk, WM_KEYDOWN));
        recording.push_back(CallHookMs(vk, WM_KEYUP));
        if (i % 100 == 0) PumpMessages();
    }
    size_t recorded = app.events.size();
    StopRecording();
    PrintTimes("hook while recording", recording, "p99 under 5 ms");
    std::printf("  (%zu key events recorded)\n", recorded);
    DestroyWindow(window);
    return 0;
}
