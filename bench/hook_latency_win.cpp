// Handling time of the keyboard hook procedure with the real main window, run under Wine:
// key presses and releases while recording at a high rate, and profile switches that load a
// 10,000-event macro inside the hook. Windows drops a low-level hook whose call takes too long
// (300 ms by default), so the p99 must stay far below that; the goal is under 5 ms.
#include "app/AppState.h"
#include "app/MainWindow_win.h"
#include "input/KeyboardHook_win.h"
#include "macro/Recorder_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int KEY_PRESSES = 20'000;
constexpr int PROFILE_SWITCHES = 200;
constexpr size_t MACRO_EVENTS = 10'000;
constexpr uint32_t SWITCH_KEY = VK_F9;

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

double CallHookMs(uint32_t vk, WPARAM message) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    auto start = std::chrono::steady_clock::now();
    KeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&key));
    auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count();
}

void PrintFigures(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    auto at = [&](double q) { return times[static_cast<size_t>(q * static_cast<double>(times.size() - 1))]; };
    std::printf("%s: %zu calls, median %.4f ms, p99 %.4f ms, max %.4f ms (goal: p99 under 5 ms)\n", what,
                times.size(), at(0.5), at(0.99), times.back());
}

} // namespace

int main() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterMainWindowClass(instance);
    HWND window = CreateMainWindow(instance);
    if (!window) {
        std::printf("the main window could not be created\n");
        return 1;
    }
    PumpMessages();

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
    PrintFigures("hook while recording", recording);
    std::printf("  (%zu key events recorded)\n", recorded);

    std::vector<MacroEvent> events;
    for (size_t i = 0; i < MACRO_EVENTS; ++i) {
        auto step = static_cast<int32_t>(i % 21) - 10;
        events.push_back(i % 50 == 0 ? MacroEvent{Key, 0, 0, 0, 0x41, 120}
                                     : MacroEvent{Move, step, -step, 0, 0, 4});
    }
    ReplaceEvents(std::move(events));
    CreateFixedFolders();
    std::wstring path = std::wstring(MACRO_FOLDER) + L"\\bench_hook_10000.kmc";
    if (!WriteFileAtomically(path, WriteMacroFile(app, L"Hook benchmark"))) {
        std::printf("the benchmark macro could not be written\n");
        return 1;
    }
    app.profileSlots[0] = {true, {HotkeyKeyboard, SWITCH_KEY}, L"Hook benchmark"};
    app.profileMacroPaths[0] = path;

    std::vector<double> switching;
    for (int i = 0; i < PROFILE_SWITCHES; ++i) {
        ReplaceEvents({});
        switching.push_back(CallHookMs(SWITCH_KEY, WM_KEYDOWN));
        CallHookMs(SWITCH_KEY, WM_KEYUP);
        PumpMessages();
    }
    PrintFigures("hook switching to a 10,000-event profile macro", switching);
    std::printf("  (events after the last switch: %zu)\n", app.events.size());
    DeleteFileW(path.c_str());
    DestroyWindow(window);
    return 0;
}
