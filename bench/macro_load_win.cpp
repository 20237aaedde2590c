// Time of LoadMacroFromPath for a 10,000-event macro with the real main window, as a profile key
// loads it from inside the keyboard hook, and the list box fill that follows on the next message.
// Run under Wine; prints the median, p99 and worst of 50 loads.
#include "app/AppState.h"
#include "bench/BenchWindow_win.h"
#include "macro/EventList_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "storage/MacroFiles_win.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr size_t EVENT_COUNT = 10'000;
constexpr int RUNS = 50;

} // namespace

int main() {
    HWND window = CreateBenchMainWindow();
    if (!window) return 1;

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
    std::string what = "LoadMacroFromPath in the hook, " + std::to_string(EVENT_COUNT) + " events, " +
                       std::to_string(bytes.size()) + " bytes";
    PrintTimes(what.c_str(), loads, "under 5 ms");
    PrintTimes("  list box fill after the hook", fills, "none, the hook has returned");
    DeleteFileW(path.c_str());
    DestroyWindow(window);
    return 0;
}
