// Time of LoadMacroFromPath for a 10,000-event macro with the real main window, as a profile key
// loads it from inside the keyboard hook. Run under Wine; prints the median and best of 50 loads.
#include "app/AppState.h"
#include "app/MainWindow_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "storage/MacroFiles_win.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr size_t EVENT_COUNT = 10'000;
constexpr int RUNS = 50;

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
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

    for (size_t i = 0; i < EVENT_COUNT; ++i) {
        auto step = static_cast<int32_t>(i % 21) - 10;
        app.events.push_back(i % 50 == 0 ? MacroEvent{Key, 0, 0, 0, 0x41, 120}
                                         : MacroEvent{Move, step, -step, 0, 0, 4});
    }
    CreateFixedFolders();
    std::wstring path = std::wstring(MACRO_FOLDER) + L"\\bench_load_10000.kmc";
    std::string bytes = WriteMacroFile(app, L"Benchmark macro");
    if (!WriteFileAtomically(path, bytes)) {
        std::printf("the benchmark file could not be written\n");
        return 1;
    }

    std::vector<double> times;
    for (int run = 0; run < RUNS; ++run) {
        ReplaceEvents({});
        auto start = std::chrono::steady_clock::now();
        bool loaded = LoadMacroFromPath(path);
        auto end = std::chrono::steady_clock::now();
        if (!loaded || app.events.size() != EVENT_COUNT) {
            std::printf("the load failed\n");
            return 1;
        }
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        PumpMessages();
    }
    std::sort(times.begin(), times.end());
    std::printf("LoadMacroFromPath, %zu events, %zu bytes: median %.2f ms, best %.2f ms, worst %.2f ms "
                "(goal: under 5 ms)\n",
                EVENT_COUNT, bytes.size(), times[times.size() / 2], times.front(), times.back());
    DeleteFileW(path.c_str());
    DestroyWindow(window);
    return 0;
}
