// Time of LoadMacroFromPath for a 10,000-event macro with the real main window, as a profile key
// loads it from inside the keyboard hook, and the list box fill that follows on the next message.
// Run under Wine; prints the median, best and worst of 50 loads.
#include "app/AppState.h"
#include "app/MainWindow_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "storage/MacroFiles_win.h"
#include "macro/EventList_win.h"

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

    // The load as the hook makes it, and the list box fill that follows on the next message.
    std::vector<double> loads, fills;
    for (int run = 0; run < RUNS; ++run) {
        ReplaceEvents({});
        auto start = std::chrono::steady_clock::now();
        app.insideKeyboardHook = true;
        bool loaded = LoadMacroFromPath(path);
        app.insideKeyboardHook = false;
        auto loadEnd = std::chrono::steady_clock::now();
        FillPendingEventList();
        auto fillEnd = std::chrono::steady_clock::now();
        if (!loaded || app.events.size() != EVENT_COUNT ||
            SendMessageW(app.eventList, LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(EVENT_COUNT)) {
            std::printf("the load failed\n");
            return 1;
        }
        loads.push_back(std::chrono::duration<double, std::milli>(loadEnd - start).count());
        fills.push_back(std::chrono::duration<double, std::milli>(fillEnd - loadEnd).count());
        PumpMessages();
    }
    std::sort(loads.begin(), loads.end());
    std::sort(fills.begin(), fills.end());
    std::printf("LoadMacroFromPath in the hook, %zu events, %zu bytes: median %.2f ms, best %.2f ms, "
                "worst %.2f ms (goal: under 5 ms)\n",
                EVENT_COUNT, bytes.size(), loads[loads.size() / 2], loads.front(), loads.back());
    std::printf("list box fill after the hook: median %.2f ms, worst %.2f ms\n", fills[fills.size() / 2],
                fills.back());
    DeleteFileW(path.c_str());
    DestroyWindow(window);
    return 0;
}
