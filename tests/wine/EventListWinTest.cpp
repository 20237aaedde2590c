// Event rows painted by the real main window's WM_DRAWITEM into a memory DC, read back by pixel.
#include "app/ControlTable.h"
#include "macro/EventList_win.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/theme/Palette.h"

namespace {

int PixelsOfColor(HDC dc, RECT area, COLORREF color) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            count += GetPixel(dc, x, y) == color;
    }
    return count;
}

} // namespace

TEST(EventListWin, RowsPaintTheTickBoxMarkAndTextAtTheirPixelsAndGiveTheDcBack) {
    HWND window = CreateTestMainWindow();
    app.events = {{Move, 3, -1, 0, 0, 0}, {ButtonDown, 0, 0, 1, 0, 120}};
    RebuildEventList();
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 280, EVENT_ROW_HEIGHT);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HPEN marker = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ oldPen = SelectObject(dc, marker);
    SetTextColor(dc, RGB(9, 9, 9));
    RECT row{0, 0, 280, EVENT_ROW_HEIGHT};
    auto paint = [&](UINT state) {
        DRAWITEMSTRUCT item{ODT_LISTBOX, ID_EVENT_LIST, 1, ODA_DRAWENTIRE, state, app.eventList, dc, row, 0};
        return SendMessageW(window, WM_DRAWITEM, ID_EVENT_LIST, reinterpret_cast<LPARAM>(&item));
    };
    auto at = [&](int x, int y) { return GetPixel(dc, x, y); };

    EXPECT_EQ(paint(0), TRUE);
    // The box (3, 3)-(13, 15) is framed in white; inside it and around it the row colour.
    for (POINT p : {POINT{3, 3}, POINT{12, 3}, POINT{3, 14}, POINT{12, 14}, POINT{8, 3}, POINT{3, 9}})
        EXPECT_EQ(at(p.x, p.y), RGB(255, 255, 255)) << p.x << "," << p.y;
    for (POINT p : {POINT{2, 2}, POINT{13, 15}, POINT{4, 4}, POINT{8, 10}, POINT{200, 1}})
        EXPECT_EQ(at(p.x, p.y), controlColor) << p.x << "," << p.y;
    EXPECT_GT(PixelsOfColor(dc, {20, 0, 200, EVENT_ROW_HEIGHT}, textColor), 20);
    EXPECT_EQ(PixelsOfColor(dc, {14, 0, 20, EVENT_ROW_HEIGHT}, textColor), 0);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), marker);
    EXPECT_EQ(GetTextColor(dc), RGB(9, 9, 9));

    // Ticked and selected: the mark runs (6, 8) - (10, 12) - (10, 6) in the text colour.
    app.rowTicks[1] = true;
    paint(ODS_SELECTED);
    for (POINT p : {POINT{6, 8}, POINT{8, 10}, POINT{10, 12}, POINT{10, 9}, POINT{10, 7}})
        EXPECT_EQ(at(p.x, p.y), textColor) << p.x << "," << p.y;
    EXPECT_EQ(at(200, 1), selectedRowColor);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), marker);

    // An item past the macro: drawn empty and without a tick.
    DRAWITEMSTRUCT past{ODT_LISTBOX, ID_EVENT_LIST, 2, ODA_DRAWENTIRE, 0, app.eventList, dc, row, 0};
    SendMessageW(window, WM_DRAWITEM, ID_EVENT_LIST, reinterpret_cast<LPARAM>(&past));
    EXPECT_EQ(PixelsOfColor(dc, {4, 4, 12, 14}, controlColor), 80);
    EXPECT_EQ(PixelsOfColor(dc, {14, 0, 280, EVENT_ROW_HEIGHT}, controlColor), 266 * EVENT_ROW_HEIGHT);

    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteObject(marker);
    DeleteObject(bitmap);
    DeleteDC(dc);
    DestroyTestMainWindow();
}
