// Time of a profile key press through the real keyboard hook procedure: the switch, its labels and
// the swap of the slot's ready macro (10,000, 100,000 and 1,000,000 events), alternating between
// two slots as a user flipping between macros does, and the making of the ready copy again after
// the hook. Run under Wine; prints median, p99 and worst of the presses per size. Windows drops a
// low-level hook whose call takes too long (300 ms by default); the goal is a p99 under 2 ms.
#include "bench/BenchWindow_win.h"
#include "input/KeyboardHook_win.h"
#include "storage/ReadyMacros_win.h"
#include "ui/windows/ProfileWindow_win.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int PRESSES = 100;

LRESULT SendKey(WPARAM message, DWORD vk) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    if (message == WM_KEYUP) key.flags = LLKHF_UP;
    return KeyboardHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&key));
}

bool MeasureSize(size_t eventCount) {
    std::wstring first = WriteBenchMacro(L"bench_switch_a.kmc", eventCount);
    std::wstring second = WriteBenchMacro(L"bench_switch_b.kmc", eventCount + 1);
    if (first.empty() || second.empty()) return false;
    app.profileSlots[0] = {true, {HotkeyKeyboard, VK_F9}, L"a"};
    app.profileSlots[1] = {true, {HotkeyKeyboard, VK_F10}, L"b"};
    app.profileMacroPaths[0] = first;
    app.profileMacroPaths[1] = second;
    auto start = std::chrono::steady_clock::now();
    PrepareReadyMacros();
    std::printf("making both slots ready, %zu events: %.1f ms\n", eventCount, MsSince(start));

    std::vector<double> hook, after;
    for (int press = 0; press < PRESSES; ++press) {
        bool toSecond = press % 2 == 1;
        DWORD vk = toSecond ? VK_F10 : VK_F9;
        start = std::chrono::steady_clock::now();
        LRESULT swallowed = SendKey(WM_KEYDOWN, vk);
        hook.push_back(MsSince(start));
        SendKey(WM_KEYUP, vk);
        start = std::chrono::steady_clock::now();
        PumpMessages();
        after.push_back(MsSince(start));
        if (swallowed != 1 || app.events.size() != eventCount + (toSecond ? 1 : 0) ||
            SendMessageW(app.eventList, LB_GETCOUNT, 0, 0) != static_cast<LRESULT>(app.events.size()))
            return false;
    }
    std::string what = "profile key in the hook, ready slot, " + std::to_string(eventCount) + " events";
    PrintTimes(what.c_str(), hook, "p99 under 2 ms");
    PrintTimes("  ready copy made again after it", after, "none, the hook has returned");
    DeleteFileW(first.c_str());
    DeleteFileW(second.c_str());
    return true;
}

} // namespace

int main() {
    HWND window = CreateBenchMainWindow();
    if (!window) return 1;
    OpenProfileWindow();
    PumpMessages();
    for (size_t count : {size_t{10'000}, size_t{100'000}, size_t{1'000'000}}) {
        if (!MeasureSize(count)) {
            std::printf("the switch by key failed for %zu events\n", count);
            return 1;
        }
    }
    DestroyWindow(window);
    return 0;
}
