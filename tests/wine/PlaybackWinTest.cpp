// A real playback under Wine stopped while the macro holds a mouse button: the thread ends within
// its 1 ms step, lets go of the button and hands the window back with WM_APP_PLAYBACK_DONE.
#include "app/ControlTable.h"
#include "macro/Playback_win.h"
#include "tests/wine/WineTestSupport.h"

TEST(PlaybackWin, StoppingALoopReleasesTheButtonItHolds) {
    InputTurn turn; // the playback moves the shared cursor and presses a real button
    HWND window = CreateTestMainWindow(true);
    auto middleDown = [] { return (GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0; };
    // Middle button pressed by the macro, then a long wait: the stop comes while it is held.
    ReplaceEvents({{Move, 2, 2, 0, 0, 0}, {ButtonDown, 0, 0, 0x0010, 0, 0}, {Key, 0, 0, 0, 0x41, 60000}});
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOOP, BN_CLICKED), 0);
    SetCursorPos(600, 500);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_PLAY, BN_CLICKED), 0);
    ASSERT_TRUE(app.playing);
    EXPECT_EQ(WindowText(app.playButton), L"Stop");
    EXPECT_TRUE(PumpUntil(middleDown));

    // "Play" while playing asks for the stop; the thread ends within the next 1 ms step and its end
    // message, handled by the window, clears `playing`.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_PLAY, BN_CLICKED), 0);
    EXPECT_TRUE(app.stopRequested);
    ASSERT_TRUE(PumpUntil([] { return !app.playing; }));
    EXPECT_FALSE(middleDown());
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(app.playbackThread, nullptr);
    EXPECT_EQ(WindowText(app.playButton), L"Play");
    DestroyTestMainWindow();
}
