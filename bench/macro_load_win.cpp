// The costs that grow with a macro's length, with the real main window under Wine, at 10,000,
// 100,000 and 1,000,000 events: refreshing the event list, painting it, loading and listing a file
// as "Add" does, deleting ticked rows, and the longest single append while recording.
#include "bench/BenchWindow_win.h"
#include "macro/EventList_win.h"
#include "macro/Recorder.h"
#include "storage/MacroFiles_win.h"
#include "ui/windows/MainWindowRefresh_win.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int RUNS = 20;

bool MeasureSize(size_t count) {
    std::wstring path = WriteBenchMacro(L"bench_load.kmc", count);
    if (path.empty()) return false;
    std::vector<double> loads, refreshes, paints, deletes;
    for (int run = 0; run < RUNS; ++run) {
        auto start = std::chrono::steady_clock::now();
        MacroFileContents contents = MacroFileStartValues(app);
        if (!ReadMacroAt(path, contents)) return false;
        TakeOverMacro(contents);
        loads.push_back(MsSince(start));
        if (SendMessageW(app.eventList, LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(count)) return false;

        start = std::chrono::steady_clock::now();
        RebuildEventList();
        refreshes.push_back(MsSince(start));
        SendMessageW(app.eventList, LB_SETTOPINDEX, count / 2, 0);
        start = std::chrono::steady_clock::now();
        RedrawWindow(app.eventList, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        paints.push_back(MsSince(start));

        for (size_t row = 0; row < count; row += 10)
            app.rowTicks[row] = true;
        start = std::chrono::steady_clock::now();
        DeleteTickedRows();
        deletes.push_back(MsSince(start));
        if (app.events.size() != count - (count + 9) / 10) return false;
        PumpMessages();
    }
    std::string size = std::to_string(count) + " events";
    PrintTimes(("load and list as Add does, " + size).c_str(), loads, "under 1 s at 1,000,000");
    PrintTimes(("  list refresh, " + size).c_str(), refreshes, "under 5 ms");
    PrintTimes(("  list paint, " + size).c_str(), paints, "under 16 ms");
    PrintTimes(("  Delete of every tenth row, " + size).c_str(), deletes, "under 100 ms");
    DeleteFileW(path.c_str());
    return true;
}

// Recording at 1000 Hz appends one event per packet: the longest append is the worst message.
void MeasureAppends(size_t count) {
    BeginRecording();
    std::vector<double> appends;
    appends.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        auto start = std::chrono::steady_clock::now();
        RecordMousePacket(1, -1, 0, 0);
        appends.push_back(MsSince(start));
    }
    EndRecording();
    std::string what = "recording append, " + std::to_string(count) + " events";
    PrintTimes(what.c_str(), appends, "worst under 16 ms");
}

} // namespace

int main() {
    HWND window = CreateBenchMainWindow();
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    for (size_t count : {size_t{10'000}, size_t{100'000}, size_t{1'000'000}}) {
        if (!MeasureSize(count)) {
            std::printf("the load or delete failed for %zu events\n", count);
            return 1;
        }
    }
    MeasureAppends(1'000'000);
    DestroyWindow(window);
    return 0;
}
