// A real playback under Wine: the replayed keys as raw input sees them, the status line, and a stop
// while the macro holds a mouse button.
#include "ui/windows/ControlTable.h"
#include "macro/Playback_win.h"
#include "tests/wine/WineTestSupport.h"
#include "macro/Undo.h"

#include <vector>

namespace {

std::vector<RAWKEYBOARD> rawKeys;

LRESULT CALLBACK RawKeyReaderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    RAWINPUT input;
    UINT size = sizeof(input);
    if (message == WM_INPUT &&
        GetRawInputData(reinterpret_cast<HRAWINPUT>(lParam), RID_INPUT, &input, &size,
                        sizeof(RAWINPUTHEADER)) != static_cast<UINT>(-1) &&
        input.header.dwType == RIM_TYPEKEYBOARD)
        rawKeys.push_back(input.data.keyboard);
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

TEST(PlaybackWin, ReplayedKeysCarryScanCodeAndExtendedFlagAndAStopReleasesTheHeldButton) {
    InputTurn turn; // the playback moves the shared cursor, presses a real button and sends real keys
    HWND window = CreateTestMainWindow();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW readerClass{0,       RawKeyReaderProc, 0,       0,       instance,
                          nullptr, nullptr,          nullptr, nullptr, L"KorvaRawKeys"};
    RegisterClassW(&readerClass);
    // Hidden, but the foreground while the turn is held: once a foreground window is destroyed (as the
    // text-fit test's are), Wine hands raw keys on only when some window has the foreground again.
    HWND reader = CreateWindowExW(0, L"KorvaRawKeys", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, instance, nullptr);
    SetForegroundWindow(reader);
    RAWINPUTDEVICE keyboard{1, 6, RIDEV_INPUTSINK, reader};
    ASSERT_TRUE(RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard)));
    rawKeys.clear();
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
    EXPECT_EQ(WindowText(app.playButton) + WindowText(app.statusLabel),
              L"Stop" + std::wstring(LISTENING_TEXT));
    EXPECT_TRUE(PumpUntil([&] { return middleDown() && rawKeys.size() >= 4; }));
    const USHORT expected[4][3] = {{'A', 0x1E, RI_KEY_MAKE},
                                   {'A', 0x1E, RI_KEY_BREAK},
                                   {VK_LEFT, 0x4B, RI_KEY_E0},
                                   {VK_LEFT, 0x4B, RI_KEY_E0 | RI_KEY_BREAK}};
    ASSERT_EQ(rawKeys.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        const RAWKEYBOARD& key = rawKeys[i];
        EXPECT_EQ(
            (std::vector<uintptr_t>{key.VKey, key.MakeCode, key.Flags, key.ExtraInformation}),
            (std::vector<uintptr_t>{expected[i][0], expected[i][1], expected[i][2], INJECTED_INPUT_MARK}))
            << i;
    }

    // "Play" while playing asks for the stop; the end message, handled by the window, clears `playing`.
    click(ID_PLAY);
    EXPECT_TRUE(app.stopRequested);
    ASSERT_TRUE(PumpUntil([] { return !app.playing; }));
    EXPECT_FALSE(middleDown());
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(WindowText(app.playButton), L"Play");
    keyboard = {1, 6, RIDEV_REMOVE, nullptr};
    RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
    DestroyWindow(reader);
    DestroyTestMainWindow();
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
    app.playbackThread = nullptr;
}
