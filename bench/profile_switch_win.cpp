// Time of a profile key press through the real keyboard hook procedure: the switch, its labels and
// the load of the slot's macro (1,000 and 10,000 events), alternating between two slots as a user
// flipping between macros does. Run under Wine; prints median and worst of 40 presses per size.
#include "app/AppState.h"
#include "app/MainWindow_win.h"
#include "input/KeyboardHook_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "ui/windows/ProfileWindow_win.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int PRESSES = 40;

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring WriteBenchMacro(const std::wstring& name, size_t eventCount) {
    std::string text =
        "KORVAMACRO_V1\r\nPLAYMODE 0\r\nMOUSEMODE 0\r\nMASTER 1\r\nDEVICEINDEX 0\r\nOUTPUT bench\r\n"
        "RECORD_HOTKEY 0 0\r\nPLAY_HOTKEY 0 0\r\nHOLD_OFF_HOTKEY 0 0\r\nSPEED 0.6\r\nMACRO_COUNT " +
        std::to_string(eventCount) + "\r\n";
    for (size_t i = 0; i < eventCount; ++i) {
        int step = static_cast<int>(i % 21) - 10;
        text += i % 50 == 0 ? "EV 3 120 0 0 0 65\r\n"
                            : "EV 0 4 " + std::to_string(step) + " " + std::to_string(-step) + " 0 0\r\n";
    }
    std::wstring path = std::wstring(MACRO_FOLDER) + L"\\" + name;
    return WriteFileAtomically(path, text) ? path : std::wstring();
}

LRESULT PressKey(DWORD vk) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    return KeyboardHookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&key));
}

bool MeasureSize(size_t eventCount) {
    std::wstring first = WriteBenchMacro(L"bench_switch_a.kmc", eventCount);
    std::wstring second = WriteBenchMacro(L"bench_switch_b.kmc", eventCount + 1);
    if (first.empty() || second.empty()) return false;
    app.profileSlots[0] = {true, {HotkeyKeyboard, VK_F9}, L"a"};
    app.profileSlots[1] = {true, {HotkeyKeyboard, VK_F10}, L"b"};
    app.profileMacroPaths[0] = first;
    app.profileMacroPaths[1] = second;

    std::vector<double> times;
    for (int press = 0; press < PRESSES; ++press) {
        bool toSecond = press % 2 == 1;
        auto start = std::chrono::steady_clock::now();
        LRESULT swallowed = PressKey(toSecond ? VK_F10 : VK_F9);
        auto end = std::chrono::steady_clock::now();
        if (swallowed != 1 || app.events.size() != eventCount + (toSecond ? 1 : 0)) return false;
        times.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        PumpMessages();
    }
    std::sort(times.begin(), times.end());
    std::printf("profile key switch, %zu events: median %.2f ms, worst %.2f ms (goal: under 100 ms, the "
                "hook must return promptly)\n",
                eventCount, times[times.size() / 2], times.back());
    DeleteFileW(first.c_str());
    DeleteFileW(second.c_str());
    return true;
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
    OpenProfileWindow();
    PumpMessages();
    CreateFixedFolders();
    for (size_t count : {size_t{1'000}, size_t{10'000}}) {
        if (!MeasureSize(count)) {
            std::printf("the switch by key failed for %zu events\n", count);
            return 1;
        }
    }
    DestroyWindow(window);
    return 0;
}
