// Event rows painted by the real main window's WM_DRAWITEM into a memory DC, read back by pixel.
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
