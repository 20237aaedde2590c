// Every labelled control of the four windows, measured with its own font: a text wider than the
// room its control leaves wraps or is cut, as happens when Wine lacks the fonts the layout needs.
#include "tests/wine/WineTestSupport.h"
#include "ui/windows/Overlay_win.h"
#include "ui/windows/PathEditor_win.h"
#include "ui/windows/ProfileWindow_win.h"

namespace {

// A check box or radio button draws its 13-pixel box and a gap before the text.
constexpr int CHECK_BOX_ROOM = 13 + 4;

int TextRoom(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiW(className, L"EDIT") == 0) {
        DWORD margins = static_cast<DWORD>(SendMessageW(control, EM_GETMARGINS, 0, 0));
        return client.right - LOWORD(margins) - HIWORD(margins);
    }
    if (lstrcmpiW(className, L"BUTTON") != 0) return client.right;
    bool box = type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
               type == BS_AUTORADIOBUTTON;
    return client.right - (box ? CHECK_BOX_ROOM : 2); // owner-drawn buttons frame their face
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
        int room = TextRoom(child);
        if (size.cx > room)
            misfits += L"\"" + text + L"\" needs " + std::to_wstring(size.cx) + L" of " +
                       std::to_wstring(room) + L"\n";
    }
    ReleaseDC(window, dc);
    return misfits;
}

} // namespace

TEST(TextFit, EveryLabelFitsItsControlInAllFourWindows) {
    HWND main = CreateTestMainWindow();
    ASSERT_NE(main, nullptr);
    for (HWND edit : {app.recordHotkeyEdit, app.playHotkeyEdit, app.holdOffHotkeyEdit})
        EXPECT_EQ(WindowText(edit), L"None");
    EXPECT_EQ(TextsThatDoNotFit(main), L"") << "main window";
    // The longest text a hotkey box shows for a mouse button.
    SetWindowTextW(app.holdOffHotkeyEdit, L"Mouse button");
    EXPECT_EQ(TextsThatDoNotFit(main), L"") << "main window, mouse hold-off key";

    OpenProfileWindow();
    ASSERT_NE(app.profileWindow, nullptr);
    EXPECT_EQ(TextsThatDoNotFit(app.profileWindow), L"") << "profile window";
    OpenOverlay();
    ASSERT_NE(app.overlayWindow, nullptr);
    EXPECT_EQ(TextsThatDoNotFit(app.overlayWindow), L"") << "overlay";
    app.events = {{Move, 5, 0}, {Move, 0, 7}};
    OpenPathEditor();
    HWND editor = app.pathEditorWindow.load();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(TextsThatDoNotFit(editor), L"") << "path editor";
    DestroyWindow(editor);
    DestroyWindow(app.overlayWindow);
    DestroyWindow(app.profileWindow);
    DestroyTestMainWindow();
}
