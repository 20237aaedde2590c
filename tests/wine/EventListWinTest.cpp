// Event rows painted by the real main window's WM_DRAWITEM into a memory DC, read back by pixel;
// the list's place kept through Set and Delete, its thumb, right clicks and the Enter keys.
#include "ui/windows/ControlTable.h"
#include "macro/EventList_win.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/theme/Palette.h"

TEST(EventListWin, RowsPaintTheTickBoxMarkAndTextAtTheirPixelsAndGiveTheDcBack) {
    HWND window = CreateTestMainWindow();
    app.events = {{Move, 3, -1, 0, 0, 0}, {ButtonDown, 0, 0, 1, 0, 120}};
    RebuildEventList();
    const int height = EVENT_ROW_HEIGHT;
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 280, height);
    HPEN marker = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap), oldPen = SelectObject(dc, marker);
    SetTextColor(dc, RGB(9, 9, 9));
    auto paint = [&](UINT item, UINT state) {
        DRAWITEMSTRUCT draw{ODT_LISTBOX, ID_EVENT_LIST,           item, ODA_DRAWENTIRE, state, app.eventList,
                            dc,          RECT{0, 0, 280, height}, 0};
        EXPECT_EQ(SendMessageW(window, WM_DRAWITEM, ID_EVENT_LIST, reinterpret_cast<LPARAM>(&draw)), TRUE);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), marker);
        EXPECT_EQ(GetTextColor(dc), RGB(9, 9, 9));
    };
    auto count = [&](RECT area, COLORREF color) {
        int found = 0;
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x)
                found += GetPixel(dc, x, y) == color;
        }
        return found;
    };
    const COLORREF white = RGB(255, 255, 255);
    // The box (3, 3)-(13, 15) is only framed in white, the text begins past it.
    paint(1, 0);
    EXPECT_EQ(count({3, 3, 13, 15}, white), 40);
    EXPECT_EQ(count({0, 0, 280, height}, white), 40);
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
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteObject(marker);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    DestroyTestMainWindow();
}

TEST(EventListWin, SetDeleteAndTheThumbKeepTheUsersPlaceInALongListAndEnterSets) {
    HWND window = CreateTestMainWindow();
    app.events.assign(300000, {Key, 0, 0, 0, 0x41, 5});
    RebuildEventList();
    auto top = [] { return SendMessageW(app.eventList, LB_GETTOPINDEX, 0, 0); };
    // The thumb's position beyond 16 bits: the message carries 200000 - 3 * 65536.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_POS;
    info.nPos = 200000;
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
    EXPECT_EQ(app.events[200002].delayMs, 1500u);
    EXPECT_EQ(WindowText(app.delayEdit), L"1.500");
    EXPECT_EQ(app.selectedRow, 200002u);
    EXPECT_TRUE(app.rowTicks[200001]);
    EXPECT_EQ(top(), 200000);
    // Delete keeps the rows on screen and selects the row after the deleted one.
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(app.events.size(), 299999u);
    EXPECT_EQ(top(), 200000);
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETCURSEL, 0, 0), 200001);
    EXPECT_EQ(app.selectedRow, 200001u);
    EXPECT_EQ(WindowText(app.delayEdit), L"1.500");
    // Enter in the speed box sets the speed; leaving it unset shows the speed in effect again.
    SetControlText(app.speedEdit, L"2");
    SendMessageW(app.speedEdit, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(app.speed.load(), 2.0);
    SetControlText(app.speedEdit, L"3");
    SendMessageW(app.speedEdit, WM_KILLFOCUS, reinterpret_cast<WPARAM>(app.eventList), 0);
    EXPECT_EQ(WindowText(app.speedEdit), L"2.000");
    // A right click below the last row ticks nothing.
    app.events.resize(2);
    RebuildEventList();
    POINT below{10, EVENT_ROW_HEIGHT * 5};
    ClientToScreen(app.eventList, &below);
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app.eventList),
                 MAKELPARAM(below.x, below.y));
    EXPECT_EQ(app.rowTicks, (std::vector<bool>{false, false}));
    DestroyTestMainWindow();
}
