// Every labelled control of the four windows, measured with its own font: a text wider than the
// room its control leaves wraps or is cut, as happens when Wine lacks the fonts the layout needs;
// where the three small windows open; and no two controls of a window overlap.
#include "ui/windows/ControlTable.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/windows/Overlay_win.h"
#include "ui/windows/PathEditor_win.h"
#include "ui/windows/ProfileWindow_win.h"

namespace {

// Check boxes and radio buttons draw a 13-pixel box and a gap; owner-drawn buttons frame their face.
int TextRoom(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    if (lstrcmpiW(className, L"EDIT") == 0) {
        DWORD margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));
        return client.right - LOWORD(margins) - HIWORD(margins);
    }
    if (lstrcmpiW(className, L"BUTTON") != 0) return client.right;
    LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
               type == BS_AUTORADIOBUTTON;
    return client.right - (box ? 13 + 4 : 2);
}

// One line "TEXT" needs N of M for each child whose text does not fit.
std::wstring TextsThatDoNotFit(HWND window) {
    std::wstring misfits;
    HDC dc = GetDC(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = WindowText(child);
        if (text.empty()) continue;
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, previous);
        if (size.cx > TextRoom(child))
            misfits += L"\"" + text + L"\" needs " + std::to_wstring(size.cx) + L" of " +
                       std::to_wstring(TextRoom(child)) + L"\n";
    }
    ReleaseDC(window, dc);
    return misfits;
}

// One line "A / B" for each two visible children whose rectangles overlap: the one painted later
// covers the other, as a status line that changes its text covered its neighbours.
std::wstring OverlappingControls(HWND window) {
    std::wstring overlaps;
    for (HWND a = GetWindow(window, GW_CHILD); a; a = GetWindow(a, GW_HWNDNEXT)) {
        for (HWND b = GetWindow(a, GW_HWNDNEXT); b; b = GetWindow(b, GW_HWNDNEXT)) {
            RECT ra{}, rb{}, common{};
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            bool shown = (GetWindowLongW(a, GWL_STYLE) & GetWindowLongW(b, GWL_STYLE) & WS_VISIBLE) != 0;
            if (shown && IntersectRect(&common, &ra, &rb))
                overlaps += WindowText(a) + L" / " + WindowText(b) + L"\n";
        }
    }
    return overlaps;
}

} // namespace

TEST(TextFit, EveryLabelFitsItsControlAndNoTwoControlsOverlapInAllFourWindows) {
    InputTurn turn; // the windows it opens take the foreground, and with it where keys go
    HWND main = CreateTestMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TextsThatDoNotFit(main), L"") << "main window";
    EXPECT_EQ(OverlappingControls(main), L"") << "main window";
    SetWindowTextW(app.holdOffHotkeyEdit, L"Mouse button"); // the longest text a hotkey box shows
    SetWindowTextW(app.loopCountEdit, L"9999");             // the most digits the count box takes
    EXPECT_EQ(TextsThatDoNotFit(main), L"") << "main window, mouse hold-off key";
    OpenProfileWindow();
    OpenOverlay();
    SetWindowTextW(app.overlayPlayLabel, L"PLAY 9999/9999");
    app.events = {{Move, 5, 0}, {Move, 0, 7}};
    OpenPathEditor();
    HWND editor = app.pathEditorWindow.load();
    for (HWND window : {app.profileWindow, app.overlayWindow, editor}) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(TextsThatDoNotFit(window), L"") << WindowText(window);
        EXPECT_EQ(OverlappingControls(window), L"") << WindowText(window);
        DestroyWindow(window);
    }
    DestroyTestMainWindow();
}

TEST(SmallWindows, OpenBesideTheMainWindowInTheWorkAreaReopenWhereLeftAndTheEyeClosesTheOverlay) {
    InputTurn turn;
    HWND main = CreateTestMainWindow();
    SetWindowPos(main, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT mainRect{}, work{}, place{}, overlap{};
    GetWindowRect(main, &mainRect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    auto eye = [&] { SendMessageW(main, WM_COMMAND, MAKEWPARAM(ID_EYE, BN_CLICKED), 0); };
    eye();
    OpenProfileWindow();
    app.events = {{Move, 5, 0}, {Move, 0, 7}};
    OpenPathEditor();
    for (HWND window : {app.overlayWindow, app.profileWindow, app.pathEditorWindow.load()}) {
        ASSERT_NE(window, nullptr);
        GetWindowRect(window, &place);
        EXPECT_FALSE(IntersectRect(&overlap, &place, &mainRect)) << WindowText(window);
        EXPECT_TRUE(place.left >= work.left && place.top >= work.top && place.right <= work.right &&
                    place.bottom <= work.bottom)
            << WindowText(window);
    }
    // Moved by the user, closed by the eye button: it reopens where it was left.
    SetWindowPos(app.overlayWindow, nullptr, 700, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    eye();
    EXPECT_EQ(app.overlayWindow, nullptr);
    eye();
    ASSERT_NE(app.overlayWindow, nullptr);
    GetWindowRect(app.overlayWindow, &place);
    EXPECT_EQ(std::pair(place.left, place.top), std::pair(700L, 600L));
    for (HWND window : {app.overlayWindow, app.profileWindow, app.pathEditorWindow.load()})
        DestroyWindow(window);
    DestroyTestMainWindow();
}
