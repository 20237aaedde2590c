// The status overlay: its window, labels, fonts and colours, raising it again, and reopening it
// after it was closed.
#include "app/AppState.h"
#include "ui/theme/Palette.h"
#include "ui/windows/Overlay_win.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

namespace {

class OverlayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        main = CreateTestMainWindow();
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
    }
    void TearDown() override {
        DeleteDC(dc);
        DestroyTestMainWindow();
    }
    // Asks the overlay for a label's colours as the label does when it paints.
    COLORREF TextColourOf(HWND label) {
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, RGB(1, 2, 3));
        LRESULT brush = SendMessageW(app.overlayWindow, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                     reinterpret_cast<LPARAM>(label));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), app.backgroundBrush);
        EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
        EXPECT_EQ(GetBkColor(dc), backgroundColor);
        return GetTextColor(dc);
    }
    static RECT ClientRectOf(HWND child) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static LONG FontHeightOf(HWND label, LONG* weight) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)), sizeof(font), &font);
        *weight = font.lfWeight;
        return font.lfHeight;
    }
    HWND main = nullptr;
    HDC dc = nullptr;
};

} // namespace

TEST_F(OverlayTest, OpensTopmostWithTheCurrentStateInRedWhileRecordingAndPlaying) {
    app.recording = true;
    app.playing = true;
    app.masterEnabled = false;
    SetWindowTextW(app.profileLabel, L"P4 - boss");
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(5010, BN_CLICKED), reinterpret_cast<LPARAM>(ControlById(5010)));
    PumpMessages();
    HWND overlay = app.overlayWindow;
    ASSERT_TRUE(overlay);
    EXPECT_EQ(WindowText(overlay), L"Eye");
    wchar_t className[64] = {};
    GetClassNameW(overlay, className, 64);
    EXPECT_STREQ(className, L"KorvaEyeWindow");
    LONG_PTR exStyle = GetWindowLongPtrW(overlay, GWL_EXSTYLE);
    EXPECT_TRUE(exStyle & WS_EX_TOPMOST);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongPtrW(overlay, GWL_STYLE) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(GetWindow(overlay, GW_OWNER), main);
    RECT outer{};
    GetWindowRect(overlay, &outer);
    EXPECT_EQ(outer.right - outer.left, 380);
    EXPECT_EQ(outer.bottom - outer.top, 110);

    EXPECT_EQ(WindowText(app.overlayProfileLabel), L"P4 - boss");
    EXPECT_EQ(WindowText(app.overlayRecLabel), L"REC");
    EXPECT_EQ(WindowText(app.overlayPlayLabel), L"PLAY");
    EXPECT_EQ(WindowText(app.overlayMasterLabel), L"OFF");
    EXPECT_EQ(TextColourOf(app.overlayRecLabel), alertTextColor);
    EXPECT_EQ(TextColourOf(app.overlayPlayLabel), alertTextColor);
    EXPECT_EQ(TextColourOf(app.overlayMasterLabel), textColor);
    EXPECT_EQ(TextColourOf(app.overlayProfileLabel), textColor);

    struct Label {
        HWND handle;
        RECT rect;
        bool centred;
        LONG fontHeight; // 0: the stock GUI font
    } labels[] = {{app.overlayProfileLabel, {10, 10, 350, 50}, false, -18},
                  {app.overlayRecLabel, {80, 50, 160, 68}, true, 0},
                  {app.overlayPlayLabel, {200, 50, 280, 68}, true, 0},
                  {app.overlayMasterLabel, {311, 10, 355, 54}, true, -17}};
    for (const Label& label : labels) {
        RECT r = ClientRectOf(label.handle);
        EXPECT_TRUE(EqualRect(&r, &label.rect))
            << r.left << "," << r.top << " " << r.right << "," << r.bottom;
        EXPECT_EQ((GetWindowLongPtrW(label.handle, GWL_STYLE) & SS_TYPEMASK) == SS_CENTER, label.centred);
        if (label.fontHeight == 0) {
            EXPECT_EQ(SendMessageW(label.handle, WM_GETFONT, 0, 0),
                      reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
        } else {
            LONG weight = 0;
            EXPECT_EQ(FontHeightOf(label.handle, &weight), label.fontHeight);
            EXPECT_EQ(weight, FW_BOLD);
        }
    }

    // Recording stops: the writer changes the text, the colour follows from the state.
    app.recording = false;
    SetWindowTextW(app.overlayRecLabel, L"NO REC");
    EXPECT_EQ(TextColourOf(app.overlayRecLabel), textColor);
    EXPECT_EQ(TextColourOf(app.overlayPlayLabel), alertTextColor);
    app.playing = false;
    EXPECT_EQ(TextColourOf(app.overlayPlayLabel), textColor);

    // The background is the dark palette's.
    RECT client{};
    GetClientRect(overlay, &client);
    HDC windowDc = GetDC(overlay);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    EXPECT_EQ(SendMessageW(overlay, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 1);
    EXPECT_EQ(GetPixel(dc, 5, client.bottom - 3), backgroundColor);
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    ReleaseDC(overlay, windowDc);
}

TEST_F(OverlayTest, PressingTheEyeAgainRaisesTheSameOverlayAndMakesItTopmost) {
    OpenOverlay();
    HWND overlay = app.overlayWindow;
    ASSERT_TRUE(overlay);
    SetWindowPos(overlay, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(overlay, SW_HIDE);
    ASSERT_FALSE(GetWindowLongPtrW(overlay, GWL_EXSTYLE) & WS_EX_TOPMOST);
    OpenOverlay();
    PumpMessages();
    EXPECT_EQ(app.overlayWindow, overlay);
    EXPECT_TRUE(GetWindowLongPtrW(overlay, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(IsWindowVisible(overlay));
    // Tests run side by side in other processes on the same desktop: count this process's only.
    int overlays = 0;
    for (HWND w = FindWindowW(L"KorvaEyeWindow", nullptr); w;
         w = FindWindowExW(nullptr, w, L"KorvaEyeWindow", nullptr)) {
        DWORD process = 0;
        GetWindowThreadProcessId(w, &process);
        if (process == GetCurrentProcessId()) ++overlays;
    }
    EXPECT_EQ(overlays, 1);
}

TEST_F(OverlayTest, AReopenedOverlayShowsTheStateOfThatMoment) {
    OpenOverlay();
    HWND first = app.overlayWindow;
    ASSERT_TRUE(first);
    EXPECT_EQ(WindowText(app.overlayProfileLabel), L"Profile: None");
    EXPECT_EQ(WindowText(app.overlayRecLabel), L"NO REC");
    EXPECT_EQ(WindowText(app.overlayPlayLabel), L"NO PLAY");
    EXPECT_EQ(WindowText(app.overlayMasterLabel), L"ON");

    SendMessageW(first, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(app.overlayWindow, nullptr);
    EXPECT_EQ(app.overlayProfileLabel, nullptr);
    EXPECT_EQ(app.overlayRecLabel, nullptr);
    EXPECT_EQ(app.overlayPlayLabel, nullptr);
    EXPECT_EQ(app.overlayMasterLabel, nullptr);

    app.recording = true;
    app.masterEnabled = false;
    SetWindowTextW(app.profileLabel, L"P2 - Farm");
    OpenOverlay();
    ASSERT_TRUE(app.overlayWindow);
    EXPECT_EQ(WindowText(app.overlayProfileLabel), L"P2 - Farm");
    EXPECT_EQ(WindowText(app.overlayRecLabel), L"REC");
    EXPECT_EQ(WindowText(app.overlayPlayLabel), L"NO PLAY");
    EXPECT_EQ(WindowText(app.overlayMasterLabel), L"OFF");
    EXPECT_EQ(TextColourOf(app.overlayRecLabel), alertTextColor);
    EXPECT_EQ(TextColourOf(app.overlayPlayLabel), textColor);
    DestroyWindow(app.overlayWindow);

    // An empty profile text keeps "Profile: None"; a long one is cut at 254 characters.
    SetWindowTextW(app.profileLabel, L"");
    OpenOverlay();
    EXPECT_EQ(WindowText(app.overlayProfileLabel), L"Profile: None");
    DestroyWindow(app.overlayWindow);
    SetWindowTextW(app.profileLabel, std::wstring(300, L'x').c_str());
    OpenOverlay();
    EXPECT_EQ(WindowText(app.overlayProfileLabel), std::wstring(254, L'x'));

    // Closing the main window takes the overlay with it.
    HWND overlay = app.overlayWindow;
    DestroyTestMainWindow();
    EXPECT_FALSE(IsWindow(overlay));
    EXPECT_EQ(app.overlayRecLabel, nullptr);
}
