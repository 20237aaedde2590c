// Real playback under Wine: the thread moves the real cursor (relative input in FreeMouse, the
// confined cursor in LockMouse and CenterMouse), ends with WM_APP_PLAYBACK_DONE, and the texts,
// the confinement and the buttons come back.
#include "app/ControlTable.h"
#include "macro/Playback_win.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

namespace {

class PlaybackWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateTestMainWindow(true);
        overlayLabel = CreateWindowExW(0, L"STATIC", L"NO PLAY", WS_CHILD, 0, 0, 50, 20, window, nullptr,
                                       nullptr, nullptr);
        app.overlayPlayLabel = overlayLabel;
    }
    void TearDown() override {
        ClipCursor(nullptr);
        DestroyTestMainWindow();
    }

    // Waits for the thread's end message (at most `limitMs`), checks it and hands it on. Other
    // messages are dispatched meanwhile, never the end message itself.
    bool WaitForPlaybackDone(DWORD limitMs = 5000) {
        ULONGLONG until = GetTickCount64() + limitMs;
        MSG message;
        while (GetTickCount64() < until) {
            if (PeekMessageW(&message, window, WM_APP_PLAYBACK_DONE, WM_APP_PLAYBACK_DONE, PM_REMOVE)) {
                EXPECT_EQ(message.wParam, 0u);
                EXPECT_EQ(message.lParam, 0);
                DispatchMessageW(&message);
                return true;
            }
            while (PeekMessageW(&message, nullptr, 0, WM_APP_PLAYBACK_DONE - 1, PM_REMOVE) ||
                   PeekMessageW(&message, nullptr, WM_APP_PLAYBACK_DONE + 1, 0xFFFF, PM_REMOVE)) {
                if (message.message == WM_QUIT) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            Sleep(2);
        }
        return false;
    }

    POINT Cursor() {
        POINT point{};
        GetCursorPos(&point);
        return point;
    }

    InputTurn turn; // taken before SetUp, handed on after TearDown
    HWND window = nullptr;
    HWND overlayLabel = nullptr;
};

bool IsFullScreenClip() {
    RECT clip;
    GetClipCursor(&clip);
    return clip.right - clip.left > 1 && clip.bottom - clip.top > 1;
}

const std::vector<MacroEvent> PATH = {
    {Move, 10, 0, 0, 0, 0}, {Move, 0, -6, 0, 0, 10}, {Move, -3, 4, 0, 0, 5}};

} // namespace

TEST_F(PlaybackWinTest, FreeMouseMovesTheCursorByTheMacroAndEndsWithTheDoneMessage) {
    ReplaceEvents(PATH);
    SetCursorPos(400, 300);
    StartPlayback(window);
    EXPECT_TRUE(app.playing);
    EXPECT_NE(app.playbackThread, nullptr);
    EXPECT_EQ(WindowText(app.playButton), L"Stop");
    EXPECT_EQ(WindowText(overlayLabel), L"PLAY");
    EXPECT_EQ(app.playbackStartPoint.x, 400);

    ASSERT_TRUE(WaitForPlaybackDone());
    POINT end = Cursor();
    EXPECT_EQ(end.x, 407);
    EXPECT_EQ(end.y, 298);
    EXPECT_FALSE(app.playing);
    EXPECT_EQ(app.playbackThread, nullptr);
    EXPECT_EQ(WindowText(app.playButton), L"Play");
    EXPECT_EQ(WindowText(overlayLabel), L"NO PLAY");
    EXPECT_TRUE(IsFullScreenClip());
}

TEST_F(PlaybackWinTest, LockedModesDriveTheConfinedCursorAndFreeItAtTheEnd) {
    ReplaceEvents(PATH);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOCK_MOUSE, BN_CLICKED), 0);
    SetCursorPos(500, 400);
    StartPlayback(window);
    ASSERT_TRUE(app.playing);
    ASSERT_TRUE(WaitForPlaybackDone());
    POINT end = Cursor();
    EXPECT_EQ(end.x, 507);
    EXPECT_EQ(end.y, 398);
    EXPECT_TRUE(IsFullScreenClip());

    // CenterMouse starts at the centre of the primary screen, wherever the cursor was.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_CENTER_MOUSE, BN_CLICKED), 0);
    SetCursorPos(30, 40);
    StartPlayback(window);
    ASSERT_TRUE(app.playing);
    ASSERT_TRUE(WaitForPlaybackDone());
    end = Cursor();
    EXPECT_EQ(end.x, GetSystemMetrics(SM_CXSCREEN) / 2 + 7);
    EXPECT_EQ(end.y, GetSystemMetrics(SM_CYSCREEN) / 2 - 2);
    EXPECT_TRUE(IsFullScreenClip());
}

TEST_F(PlaybackWinTest, RefusedStartsChangeNothing) {
    SetCursorPos(200, 200);
    StartPlayback(window); // empty macro
    EXPECT_FALSE(app.playing);
    ReplaceEvents(PATH);
    app.masterEnabled = false;
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_PLAY, BN_CLICKED), 0);
    EXPECT_FALSE(app.playing);
    EXPECT_EQ(WindowText(app.playButton), L"Play");
    EXPECT_EQ(WindowText(overlayLabel), L"NO PLAY");
    Sleep(50);
    EXPECT_EQ(Cursor().x, 200);
}

TEST_F(PlaybackWinTest, StoppingALoopReleasesTheButtonItHolds) {
    // Middle button pressed by the macro, then a long wait: the stop comes while it is held.
    ReplaceEvents({{Move, 2, 2, 0, 0, 0}, {ButtonDown, 0, 0, 0x0010, 0, 0}, {Key, 0, 0, 0, 0x41, 60000}});
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOOP, BN_CLICKED), 0);
    SetCursorPos(600, 500);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_PLAY, BN_CLICKED), 0);
    ASSERT_TRUE(app.playing);
    ULONGLONG until = GetTickCount64() + 3000;
    while (!(GetAsyncKeyState(VK_MBUTTON) & 0x8000) && GetTickCount64() < until)
        Sleep(2);
    EXPECT_TRUE(GetAsyncKeyState(VK_MBUTTON) & 0x8000);

    // "Play" while playing asks for the stop; the thread ends within the next 1 ms step.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_PLAY, BN_CLICKED), 0);
    EXPECT_TRUE(app.stopRequested);
    ASSERT_TRUE(WaitForPlaybackDone(1000));
    EXPECT_FALSE(GetAsyncKeyState(VK_MBUTTON) & 0x8000);
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(WindowText(app.playButton), L"Play");
}
