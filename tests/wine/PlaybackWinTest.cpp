// Real playbacks under Wine: a stop while the macro holds a mouse button (the thread ends within
// its 1 ms step and lets go of the button), the status line, and the replayed keys as raw input sees them.
#include "app/ControlTable.h"
#include "macro/Playback_win.h"
#include "tests/wine/WineTestSupport.h"

#include <vector>

TEST(PlaybackWin, StoppingALoopReleasesTheButtonItHolds) {
    InputTurn turn; // the playback moves the shared cursor and presses a real button
    HWND window = CreateTestMainWindow(true);
    auto middleDown = [] { return (GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0; };
    // Middle button pressed by the macro, then a long wait: the stop comes while it is held.
    ReplaceEvents({{Move, 2, 2, 0, 0, 0}, {ButtonDown, 0, 0, 0x0010, 0, 0}, {Key, 0, 0, 0, 0x41, 60000}});
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOOP, BN_CLICKED), 0);
    // A playback that Windows refused says so on the status line until the next one starts.
    app.playbackInputRefused = true;
    SendMessageW(window, WM_APP_PLAYBACK_DONE, 0, 0);
    EXPECT_EQ(WindowText(app.statusLabel), INPUT_REFUSED_TEXT);
    SetCursorPos(600, 500);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_PLAY, BN_CLICKED), 0);
    ASSERT_TRUE(app.playing);
    EXPECT_EQ(WindowText(app.playButton), L"Stop");
    EXPECT_EQ(WindowText(app.statusLabel), LISTENING_TEXT);
    EXPECT_TRUE(PumpUntil(middleDown, 3000));

    // "Play" while playing asks for the stop; the thread ends within the next 1 ms step and its end
    // message, handled by the window, clears `playing`.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_PLAY, BN_CLICKED), 0);
    EXPECT_TRUE(app.stopRequested);
    ASSERT_TRUE(PumpUntil([] { return !app.playing; }, 1000));
    EXPECT_FALSE(middleDown());
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(app.playbackThread, nullptr);
    EXPECT_EQ(WindowText(app.playButton), L"Play");
    DestroyTestMainWindow();
}

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

TEST(PlaybackWin, ReplayedKeysReachRawInputWithTheirScanCodeAndExtendedFlag) {
    InputTurn turn; // the replayed keys go to the whole display
    HWND window = CreateTestMainWindow();
    WNDCLASSW readerClass{};
    readerClass.lpfnWndProc = RawKeyReaderProc;
    readerClass.hInstance = GetModuleHandleW(nullptr);
    readerClass.lpszClassName = L"KorvaRawKeyReader";
    RegisterClassW(&readerClass);
    // Hidden and never made the foreground: other tests read raw input while no window has it.
    HWND reader = CreateWindowExW(0, L"KorvaRawKeyReader", L"", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                  nullptr, readerClass.hInstance, nullptr);
    RAWINPUTDEVICE keyboard{1, 6, RIDEV_INPUTSINK, reader};
    ASSERT_TRUE(RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard)));
    rawKeys.clear();

    ReplaceEvents({{Key, 0, 0, 0, 'A', 0}, {Key, 0, 0, 0, VK_LEFT, 0}});
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_PLAY, BN_CLICKED), 0);
    EXPECT_TRUE(PumpUntil([] { return rawKeys.size() >= 4 && !app.playing; }));
    const struct {
        USHORT vk, makeCode, flags;
    } expected[] = {{'A', 0x1E, RI_KEY_MAKE},
                    {'A', 0x1E, RI_KEY_BREAK},
                    {VK_LEFT, 0x4B, RI_KEY_E0},
                    {VK_LEFT, 0x4B, RI_KEY_E0 | RI_KEY_BREAK}};
    ASSERT_EQ(rawKeys.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(rawKeys[i].VKey, expected[i].vk) << i;
        EXPECT_EQ(rawKeys[i].MakeCode, expected[i].makeCode) << i;
        EXPECT_EQ(rawKeys[i].Flags, expected[i].flags) << i;
        EXPECT_EQ(rawKeys[i].ExtraInformation, INJECTED_INPUT_MARK) << i;
    }
    keyboard = {1, 6, RIDEV_REMOVE, nullptr};
    RegisterRawInputDevices(&keyboard, 1, sizeof(keyboard));
    DestroyWindow(reader);
    DestroyTestMainWindow();
}
