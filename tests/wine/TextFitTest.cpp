// Every labelled control of the four windows, measured with its own font: a text wider than the
// room its control leaves wraps or is cut, as happens when Wine lacks the fonts the layout needs.
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

} // namespace

TEST(TextFit, EveryLabelFitsItsControlInAllFourWindows) {
    InputTurn turn; // the windows it opens take the foreground, and with it where keys go
    HWND main = CreateTestMainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(TextsThatDoNotFit(main), L"") << "main window";
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
        DestroyWindow(window);
    }
    DestroyTestMainWindow();
}
