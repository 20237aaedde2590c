// Every labelled control of the four windows fits its text in its own font (a text wider than its
// room wraps or is cut, as when Wine lacks fonts the layout needs) and overlaps no other; where the
// three small windows open; and the profile window's Clear, which asks first.
#include "ui/windows/ControlTable.h"
#include "tests/wine/WineTestSupport.h"
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

// One line "TEXT" needs N of M for each child whose text does not fit, and "A / B" for each two
// visible children whose rectangles overlap: the one painted later covers the other, as a status
// line that changes its text covered its neighbours.
std::wstring LayoutFaults(HWND window) {
    std::wstring faults;
    HDC dc = GetDC(window);
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::wstring text = WindowText(child);
        HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, previous);
        if (!text.empty() && size.cx > TextRoom(child))
            faults += L"\"" + text + L"\" needs " + std::to_wstring(size.cx) + L" of " +
                      std::to_wstring(TextRoom(child)) + L"\n";
        for (HWND other = GetWindow(child, GW_HWNDNEXT); other; other = GetWindow(other, GW_HWNDNEXT)) {
            RECT ra{}, rb{}, common{};
            GetWindowRect(child, &ra);
            GetWindowRect(other, &rb);
            bool shown =
                (GetWindowLongW(child, GWL_STYLE) & GetWindowLongW(other, GWL_STYLE) & WS_VISIBLE) != 0;
            if (shown && IntersectRect(&common, &ra, &rb))
                faults += text + L" / " + WindowText(other) + L"\n";
        }
    }
    ReleaseDC(window, dc);
    return faults;
}

} // namespace

TEST(TextFit, EveryLabelFitsNoTwoControlsOverlapTheSmallWindowsOpenBesideTheMainOneOrWhereLeftAndClearAsks) {
    InputTurn turn; // the windows it opens take the foreground, and with it where keys go
    HWND main = CreateTestMainWindow();
    ASSERT_NE(main, nullptr);
    SetWindowTextW(app.holdOffHotkeyEdit, L"Mouse button"); // the longest text a hotkey box shows
    SetWindowTextW(app.loopCountEdit, L"9999");             // the most digits the count box takes
    EXPECT_EQ(LayoutFaults(main), L"") << "main window";
    SetWindowPos(main, nullptr, 20, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT mainRect{}, work{}, place{}, overlap{}, joined{};
    GetWindowRect(main, &mainRect);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    auto eye = [&] { SendMessageW(main, WM_COMMAND, MAKEWPARAM(ID_EYE, BN_CLICKED), 0); };
    eye();
    SetWindowTextW(app.overlayPlayLabel, L"PLAY 9999/9999");
    OpenProfileWindow();
    app.events = {{Move, 5, 0}, {Move, 0, 7}};
    OpenPathEditor();
    for (HWND window : {app.profileWindow, app.overlayWindow, app.pathEditorWindow.load()}) {
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(LayoutFaults(window), L"") << WindowText(window);
        GetWindowRect(window, &place);
        EXPECT_FALSE(IntersectRect(&overlap, &place, &mainRect)) << WindowText(window);
        EXPECT_TRUE(UnionRect(&joined, &place, &work) && EqualRect(&joined, &work)) << WindowText(window);
    }
    // The profile window's Clear asks; No keeps the slots.
    app.profileSlots[3] = {true, {HotkeyKeyboard, VK_F9}, L"kept"};
    for (int button : {IDNO, IDYES}) {
        MessageBoxAnswer answer(button);
        SendMessageW(app.profileWindow, WM_COMMAND, MAKEWPARAM(ID_PROFILE_CLEAR, BN_CLICKED), 0);
        EXPECT_EQ(answer.Text(), L"Clear all ten profile slots?");
        EXPECT_EQ(app.profileSlots[3].name, button == IDNO ? L"kept" : L"") << button;
    }
    // Moved by the user, closed by the eye button: it reopens where it was left.
    SetWindowPos(app.overlayWindow, nullptr, 700, 600, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    eye();
    EXPECT_EQ(app.overlayWindow, nullptr);
    eye();
    ASSERT_NE(app.overlayWindow, nullptr);
    GetWindowRect(app.overlayWindow, &place);
    EXPECT_EQ(std::pair(place.left, place.top), std::pair(700L, 600L));
}
