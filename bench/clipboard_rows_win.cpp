// Rows through the clipboard with the real main window under Wine: Ctrl+C of 100,000 ticked rows
// and Ctrl+V of them into a macro of as many, each as the list's key runs it (EV lines made or
// read, the clipboard, the undo step, the list refreshed); the EV-line codec alone, the clipboard
// alone and the hand-over of the text to a program that reads it, at 100,000 and 1,000,000 rows.
#include "bench/BenchWindow_win.h"
#include "macro/EventList_win.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int RUNS = 10;

void PressOnList(WPARAM vk) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    SendMessageW(app.eventList, WM_KEYDOWN, vk, 0);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

// The text reaches another program when it reads the clipboard; this window renders it then.
bool HandOverAsAnotherProgramAsks(size_t length) {
    if (!OpenClipboard(nullptr)) return false;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    size_t size = data ? GlobalSize(data) : 0;
    CloseClipboard();
    return size >= (length + 1) * sizeof(wchar_t);
}

bool MeasureSize(size_t count) {
    std::vector<double> codecWrites, codecReads, puts, gets, copies, pastes;
    for (int run = 0; run < RUNS; ++run) {
        app.events = MakeBenchEvents(count);
        RebuildEventList();
        auto start = std::chrono::steady_clock::now();
        std::string lines = WriteEventLines(app.events);
        codecWrites.push_back(MsSince(start));
        start = std::chrono::steady_clock::now();
        if (ReadEventLines(lines).size() != count) return false;
        codecReads.push_back(MsSince(start));
        start = std::chrono::steady_clock::now();
        if (!PutTextOnClipboard(lines)) return false;
        puts.push_back(MsSince(start));
        start = std::chrono::steady_clock::now();
        if (!HandOverAsAnotherProgramAsks(lines.size())) return false;
        gets.push_back(MsSince(start));

        app.rowTicks.assign(count, true);
        start = std::chrono::steady_clock::now();
        PressOnList('C');
        copies.push_back(MsSince(start));
        app.rowTicks.assign(count, false);
        SendMessageW(app.eventList, LB_SETCURSEL, count / 2, 0);
        OnEventListSelectionChanged();
        start = std::chrono::steady_clock::now();
        PressOnList('V');
        pastes.push_back(MsSince(start));
        if (app.events.size() != 2 * count || app.selectedRow != count / 2 + 1) return false;
        PumpMessages();
    }
    std::string rows = std::to_string(count) + " rows";
    PrintTimes(("EV lines written, " + rows).c_str(), codecWrites, "part of Ctrl+C");
    PrintTimes(("EV lines read, " + rows).c_str(), codecReads, "part of Ctrl+V");
    PrintTimes(("text put on the clipboard, " + rows).c_str(), puts, "part of Ctrl+C");
    PrintTimes(("text handed to a program that asks, " + rows).c_str(), gets, "not part of Ctrl+C");
    PrintTimes(("Ctrl+C of the ticked rows, " + rows).c_str(), copies, "under 200 ms at 100,000");
    PrintTimes(("Ctrl+V after the selected row, " + rows).c_str(), pastes, "under 200 ms at 100,000");
    return true;
}

} // namespace

int main() {
    HWND window = CreateBenchMainWindow();
    if (!window) return 1;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    for (size_t count : {size_t{100'000}, size_t{1'000'000}}) {
        if (!MeasureSize(count)) {
            std::printf("the copy or paste went wrong at %zu rows\n", count);
            return 1;
        }
    }
    DestroyWindow(window);
    return 0;
}
