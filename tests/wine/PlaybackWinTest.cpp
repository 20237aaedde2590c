// A real playback under Wine: the replayed keys as a low-level keyboard hook sees them, the status
// line, and a stop while the macro holds a mouse button.
#include "ui/windows/ControlTable.h"
#include "macro/Playback_win.h"
#include "tests/wine/WineTestSupport.h"
#include "macro/Undo.h"

#include <array>
#include <vector>

TEST(PlaybackWin, ReplayedKeysCarryScanCodeAndExtendedFlagAndAStopReleasesTheHeldButton) {
    InputTurn turn; // the playback moves the shared cursor, presses a real button and sends real keys
    HWND window = CreateTestMainWindow();
    // Each replayed key's virtual key, scan code, flags and extra information.
    static std::vector<std::array<uintptr_t, 4>> hookedKeys;
    auto watch = [](int code, WPARAM message, LPARAM lParam) {
        const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        if (code == HC_ACTION)
            hookedKeys.push_back({key->vkCode, key->scanCode, key->flags, key->dwExtraInfo});
        return CallNextHookEx(nullptr, code, message, lParam);
    };
    HHOOK watcher = SetWindowsHookExW(WH_KEYBOARD_LL, watch, GetModuleHandleW(nullptr), 0);
    ASSERT_NE(watcher, nullptr);
    auto click = [&](int id) { SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); };
    auto middleDown = [] { return (GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0; };
    // Two keys, the middle button pressed, then a long wait: the stop comes while it is held.
    ReplaceEvents({{Key, 0, 0, 0, 'A', 0},
                   {Key, 0, 0, 0, VK_LEFT, 0},
                   {Move, 2, 2, 0, 0, 0},
                   {ButtonDown, 0, 0, 0x0010, 0, 0},
                   {Key, 0, 0, 0, 0x41, 60000}});
    click(ID_LOOP);
    // A playback that Windows refused says so on the status line until the next one starts.
    app.playbackInputRefused = true;
    SendMessageW(window, WM_APP_PLAYBACK_DONE, 0, 0);
    EXPECT_EQ(WindowText(app.statusLabel), INPUT_REFUSED_TEXT);
    SetCursorPos(600, 500);
    click(ID_PLAY);
    ASSERT_TRUE(app.playing);
    EXPECT_EQ(WindowText(app.statusLabel), LISTENING_TEXT);
    EXPECT_TRUE(PumpUntil([&] { return middleDown() && hookedKeys.size() >= 4; }));
    const uintptr_t mark = INJECTED_INPUT_MARK, up = LLKHF_UP | LLKHF_INJECTED, e0 = LLKHF_EXTENDED;
    EXPECT_EQ(hookedKeys, (std::vector<std::array<uintptr_t, 4>>{{'A', 0x1E, LLKHF_INJECTED, mark},
                                                                 {'A', 0x1E, up, mark},
                                                                 {VK_LEFT, 0x4B, e0 | LLKHF_INJECTED, mark},
                                                                 {VK_LEFT, 0x4B, e0 | up, mark}}));

    // "Play" while playing asks for the stop; the end message, handled by the window, clears `playing`.
    click(ID_PLAY);
    EXPECT_TRUE(app.stopRequested);
    ASSERT_TRUE(PumpUntil([] { return !app.playing; }));
    EXPECT_FALSE(middleDown());
    UnhookWindowsHookEx(watcher);
}

TEST(PlaybackWin, AWorkerThatDoesNotEndAtExitEndsTheProcessWithoutItsDestructors) {
    ResetAppState();
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto stuck = [](LPVOID event) -> DWORD { return WaitForSingleObject(event, INFINITE); };
    app.playbackThread = CreateThread(nullptr, 0, stuck, release, 0, nullptr);
    static unsigned endedWith = 0;
    auto end = [](unsigned code) { endedWith = code; };
    EXPECT_FALSE(StopPlaybackBeforeExit());
    EndProcessIfWorkerRuns(7, end);
    EXPECT_EQ(endedWith, 7u);
    SetEvent(release);
    WaitForSingleObject(app.playbackThread, INFINITE);
    endedWith = 0;
    EndProcessIfWorkerRuns(7, end); // the worker has ended: destructors may run
    EXPECT_EQ(endedWith, 0u);
    CloseHandle(app.playbackThread);
    CloseHandle(release);
}
