// Event rows painted by the real main window's WM_DRAWITEM into a memory DC, read back by pixel;
// the list's place kept through Set and Delete, its thumb, right clicks, the Enter keys and a
// refused delay; the list's keys through its window procedure, with the real clipboard.
#include "ui/windows/ControlTable.h"
#include "macro/EventList_win.h"
#include "macro/Undo.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/theme/Palette.h"

TEST(EventListWin, RowsPaintTheTickBoxMarkAndTextAtTheirPixelsAndGiveTheDcBack) {
    HWND window = CreateTestMainWindow();
    app.events = {{Move, 3, -1, 0, 0, 0}, {ButtonDown, 0, 0, 1, 0, 120}};
    RebuildEventList();
    const int height = EVENT_ROW_HEIGHT;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateBitmap(280, height, 1, 32, nullptr);
    SelectObject(dc, bitmap);
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    SetTextColor(dc, RGB(9, 9, 9));
    auto paint = [&](UINT item, UINT state) {
        DRAWITEMSTRUCT draw{ODT_LISTBOX, ID_EVENT_LIST,           item, ODA_DRAWENTIRE, state, app.eventList,
                            dc,          RECT{0, 0, 280, height}, 0};
        EXPECT_EQ(SendMessageW(window, WM_DRAWITEM, ID_EVENT_LIST, reinterpret_cast<LPARAM>(&draw)), TRUE);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);
        EXPECT_EQ(GetTextColor(dc), RGB(9, 9, 9));
    };
    auto count = [&](RECT area, COLORREF color) {
        int found = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                found += GetPixel(dc, x, y) == color;
        return found;
    };
    // The box (3, 3)-(13, 15) is only framed in white, the text begins past it.
    paint(1, 0);
    EXPECT_EQ(count({3, 3, 13, 15}, RGB(255, 255, 255)), 40);
    EXPECT_EQ(count({0, 0, 280, height}, RGB(255, 255, 255)), 40);
    EXPECT_EQ(count({4, 4, 12, 14}, controlColor), 80);
    EXPECT_GT(count({20, 0, 200, height}, textColor), 20);
    EXPECT_EQ(count({0, 0, 20, height}, textColor), 0);
    // Ticked and selected: the mark runs (6, 8) - (10, 12) - (10, 6) in the text colour.
    app.rowTicks[1] = true;
    paint(1, ODS_SELECTED);
    for (POINT p : {POINT{6, 8}, POINT{8, 10}, POINT{10, 12}, POINT{10, 9}, POINT{10, 7}})
        EXPECT_EQ(GetPixel(dc, p.x, p.y), textColor) << p.x << "," << p.y;
    EXPECT_EQ(GetPixel(dc, 200, 1), selectedRowColor);
    // An item past the macro: drawn empty and without a tick.
    paint(2, 0);
    EXPECT_EQ(count({4, 4, 12, 14}, controlColor), 80);
    EXPECT_EQ(count({14, 0, 280, height}, controlColor), 266 * height);
    DeleteDC(dc); // which lets go of the bitmap
    DeleteObject(bitmap);
}

TEST(EventListWin, SetDeleteAndTheThumbKeepTheUsersPlaceInALongListAndEnterSetsOnlySeconds) {
    HWND window = CreateTestMainWindow();
    app.events.assign(300000, {Key, 0, 0, 0, 0x41, 5});
    RebuildEventList();
    auto top = [] { return SendMessageW(app.eventList, LB_GETTOPINDEX, 0, 0); };
    // The thumb's position beyond 16 bits: the message carries 200000 - 3 * 65536.
    SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, 200000, 0};
    SetScrollInfo(app.eventList, SB_VERT, &info, FALSE);
    SendMessageW(app.eventList, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 200000 & 0xFFFF), 0);
    EXPECT_EQ(top(), 200000);
    // Enter in the delay box sets the selected row's delay; ticks, selection and place stay.
    app.rowTicks[200001] = true;
    SendMessageW(app.eventList, LB_SETCURSEL, 200002, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_EVENT_LIST, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(app.eventList));
    SetControlText(app.delayEdit, L"1,5");
    SendMessageW(app.delayEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(WindowText(app.delayEdit), L"1.500");
    EXPECT_EQ(app.selectedRow, 200002u);
    EXPECT_TRUE(app.rowTicks[200001]);
    EXPECT_EQ(top(), 200000);
    // A delay that is no number of seconds is refused with a message and changes nothing.
    SetControlText(app.delayEdit, L"0x10");
    MessageBoxAnswer ok(IDOK);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_DELAY_SET, BN_CLICKED), 0);
    EXPECT_NE(ok.Text().find(L"from 0 to 4294967.295"), std::wstring::npos) << ok.Text();
    // Delete (of the ticked row) keeps the rows on screen and selects the row after the deleted one.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(top(), 200000);
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETCURSEL, 0, 0), 200001);
    EXPECT_EQ(WindowText(app.delayEdit), L"1.500"); // the selected row's: set by Enter, kept on refusal
    // Enter in the speed box sets the speed; leaving it unset shows the speed in effect again.
    SetControlText(app.speedEdit, L"2");
    SendMessageW(app.speedEdit, WM_KEYDOWN, VK_RETURN, 0);
    SetControlText(app.speedEdit, L"3");
    SendMessageW(app.speedEdit, WM_KILLFOCUS, reinterpret_cast<WPARAM>(app.eventList), 0);
    EXPECT_EQ(WindowText(app.speedEdit), L"2.000"); // the speed that Enter set, not the 3 left typed
    // A right click below the last row ticks nothing.
    app.events.resize(2);
    RebuildEventList();
    POINT below{10, EVENT_ROW_HEIGHT * 5};
    ClientToScreen(app.eventList, &below);
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app.eventList),
                 MAKELPARAM(below.x, below.y));
    EXPECT_EQ(app.rowTicks, (std::vector<bool>{false, false}));
}

TEST(EventListWin, KeysTickMoveDeleteAndCarryRowsThroughTheClipboardAsEVLinesButNotDuringAPlayback) {
    CreateTestMainWindow();
    // A key as the list receives it, the modifiers down in the thread's key state that it reads.
    auto press = [](WPARAM vk, BYTE modifier = 0) {
        BYTE keys[256] = {};
        if (modifier) keys[modifier] = 0x80;
        SetKeyboardState(keys);
        bool alt = modifier == VK_MENU;
        SendMessageW(app.eventList, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, alt ? KF_ALTDOWN << 16 : 0);
        keys[modifier] = 0;
        SetKeyboardState(keys);
    };
    const MacroEvent a{Move, 1, 0, 0, 0, 10}, b{Key, 0, 0, 0, 0x41, 20}, c{Move, 0, 1, 0, 0, 30};
    app.events = {a, b, c};
    RebuildEventList();
    press(VK_HOME); // the list box's own keys select and say so
    press(VK_DOWN);
    EXPECT_EQ(app.selectedRow, 1u);
    press(VK_SPACE);
    EXPECT_EQ(app.rowTicks, (std::vector<bool>{false, true, false}));
    press('C', VK_CONTROL);
    EXPECT_EQ(TextOnClipboard(), "EV 3 20 0 0 0 65\r\n");
    press(VK_UP, VK_MENU); // the ticked row moves, its tick and the selection with it
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{b, a, c}));
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETCURSEL, 0, 0), 0);
    press(VK_SPACE);
    press(VK_DOWN);
    press('V', VK_CONTROL); // after the selected row, which becomes the first pasted one
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{b, a, b, c}));
    EXPECT_EQ(WindowText(app.delayEdit), L"0.020");
    press(VK_DELETE); // the selected (pasted) row, when none is ticked; the next one is selected
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{b, a, c}));
    press('X', VK_CONTROL);
    ASSERT_TRUE(OpenClipboard(nullptr)); // as another program reads it: the text is handed over now
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    EXPECT_EQ(std::wstring(data ? static_cast<const wchar_t*>(GlobalLock(data)) : L""),
              L"EV 0 30 0 1 0 0\r\n");
    GlobalUnlock(data);
    CloseClipboard();
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{b, a}));
    press('A', VK_CONTROL);
    EXPECT_EQ(app.rowTicks, (std::vector<bool>{true, true}));
    EXPECT_EQ(SendMessageW(app.allCheckbox, BM_GETCHECK, 0, 0), BST_CHECKED);
    app.playing = true; // no edit during a playback
    for (UINT key : {UINT{VK_DELETE}, UINT{'X'}, UINT{'V'}, UINT{VK_DOWN}})
        press(key, key == VK_DELETE ? 0 : key == VK_DOWN ? VK_MENU : VK_CONTROL);
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{b, a}));
    app.playing = false;
    ASSERT_TRUE(PutTextOnClipboard("KORVAMACRO_V1\r\nno event here\r\n"));
    press('V', VK_CONTROL); // nothing inserted, as the unit test shows: the status line says why
    EXPECT_EQ(WindowText(app.statusLabel), L"Nothing pasted: the clipboard holds no EV lines");
    EXPECT_TRUE(UndoMacroChange()); // each edit is one step
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{b, a, c}));
}
