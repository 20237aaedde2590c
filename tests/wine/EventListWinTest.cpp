// The event list on the real list box: rows painted in a memory DC, selection, ticks by double
// click and right click, "All", the delay "Set", "Delete" and the speed edit's "Set" and "Reset".
#include "app/ControlTable.h"
#include "macro/EventList_win.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/theme/Palette.h"

#include <gtest/gtest.h>

namespace {

class EventListWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateTestMainWindow();
        app.events = {{Move, 3, -1, 0, 0, 0}, {ButtonDown, 0, 0, 1, 0, 120}, {Key, 0, 0, 0, 27, 7}};
        RebuildEventList();
    }
    void TearDown() override { DestroyTestMainWindow(); }

    void Command(int id, WORD notification) {
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, notification),
                     reinterpret_cast<LPARAM>(ControlById(id)));
    }
    void Select(int item) {
        SendMessageW(app.eventList, LB_SETCURSEL, static_cast<WPARAM>(item), 0);
        Command(ID_EVENT_LIST, LBN_SELCHANGE);
    }
    // Right click at a point of the list's client area.
    void RightClickAt(int x, int y) {
        POINT point{x, y};
        ClientToScreen(app.eventList, &point);
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app.eventList),
                     MAKELPARAM(point.x, point.y));
    }
    std::wstring Item(int index) {
        wchar_t text[256] = {};
        SendMessageW(app.eventList, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
        return text;
    }
    std::vector<bool> Ticks() { return app.rowTicks; }

    HWND window = nullptr;
};

DRAWITEMSTRUCT RowItem(HDC dc, UINT itemId, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_LISTBOX;
    item.CtlID = ID_EVENT_LIST;
    item.itemID = itemId;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = state;
    item.hwndItem = app.eventList;
    item.hDC = dc;
    item.rcItem = {0, 0, 280, EVENT_ROW_HEIGHT};
    return item;
}

int PixelsOfColor(HDC dc, RECT area, COLORREF color) {
    int count = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            count += GetPixel(dc, x, y) == color;
    }
    return count;
}

} // namespace

TEST_F(EventListWinTest, RebuildFillsTheBoxWithOneRowPerEvent) {
    ASSERT_EQ(SendMessageW(app.eventList, LB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(Item(0), L"0: Move dx=3 dy=-1  delay=0 ms");
    EXPECT_EQ(Item(1), L"1: Mouse down btn=1  delay=120 ms");
    EXPECT_EQ(Item(2), L"2: Key vk=0x1b  delay=7 ms");
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETITEMDATA, 2, 0), 2);
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETITEMHEIGHT, 0, 0), EVENT_ROW_HEIGHT);
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, false}));
    EXPECT_EQ(app.selectedRow, NO_ROW);
}

TEST_F(EventListWinTest, RowsPaintTheTickBoxMarkAndTextAtTheirPixels) {
    MemoryCanvas canvas(280, EVENT_ROW_HEIGHT);
    HPEN marker = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HGDIOBJ before = SelectObject(canvas.dc, marker);
    SetTextColor(canvas.dc, RGB(9, 9, 9));

    DRAWITEMSTRUCT item = RowItem(canvas.dc, 1, 0);
    DrawEventRow(&item);
    // The box (3, 3)-(13, 15) is framed in white; inside it and around it the row colour.
    for (POINT p : {POINT{3, 3}, POINT{12, 3}, POINT{3, 14}, POINT{12, 14}, POINT{8, 3}, POINT{3, 9},
                    POINT{12, 9}, POINT{8, 14}}) {
        EXPECT_EQ(GetPixel(canvas.dc, p.x, p.y), RGB(255, 255, 255)) << p.x << "," << p.y;
    }
    for (POINT p : {POINT{2, 2}, POINT{13, 15}, POINT{4, 4}, POINT{8, 10}, POINT{10, 9}, POINT{200, 1}}) {
        EXPECT_EQ(GetPixel(canvas.dc, p.x, p.y), controlColor) << p.x << "," << p.y;
    }
    EXPECT_GT(PixelsOfColor(canvas.dc, {20, 0, 200, EVENT_ROW_HEIGHT}, textColor), 20);
    EXPECT_EQ(PixelsOfColor(canvas.dc, {14, 0, 20, EVENT_ROW_HEIGHT}, textColor), 0);
    // The device context comes back as it was handed over.
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), marker);
    EXPECT_EQ(GetTextColor(canvas.dc), RGB(9, 9, 9));

    // Ticked and selected: the mark runs (6, 8) - (10, 12) - (10, 6) in the text colour.
    app.rowTicks[1] = true;
    item = RowItem(canvas.dc, 1, ODS_SELECTED);
    DrawEventRow(&item);
    for (POINT p : {POINT{6, 8}, POINT{8, 10}, POINT{10, 12}, POINT{10, 9}, POINT{10, 7}}) {
        EXPECT_EQ(GetPixel(canvas.dc, p.x, p.y), textColor) << p.x << "," << p.y;
    }
    EXPECT_EQ(GetPixel(canvas.dc, 200, 1), selectedRowColor);
    EXPECT_EQ(GetPixel(canvas.dc, 3, 3), RGB(255, 255, 255));
    EXPECT_EQ(GetCurrentObject(canvas.dc, OBJ_PEN), marker);

    // Item data outside the row table: drawn empty and without a tick.
    SendMessageW(app.eventList, LB_SETITEMDATA, 1, 99);
    item = RowItem(canvas.dc, 1, 0);
    DrawEventRow(&item);
    EXPECT_EQ(PixelsOfColor(canvas.dc, {4, 4, 12, 14}, controlColor), 80);
    EXPECT_EQ(PixelsOfColor(canvas.dc, {14, 0, 280, EVENT_ROW_HEIGHT}, controlColor), 266 * EVENT_ROW_HEIGHT);

    SelectObject(canvas.dc, before);
    DeleteObject(marker);
}

TEST_F(EventListWinTest, SelectionShowsTheDelayInSecondsAndTicksToggle) {
    Select(1);
    EXPECT_EQ(app.selectedRow, 1u);
    EXPECT_EQ(WindowText(app.delayEdit), L"0.120");
    Select(2);
    EXPECT_EQ(WindowText(app.delayEdit), L"0.007");
    SendMessageW(app.eventList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    Command(ID_EVENT_LIST, LBN_SELCHANGE);
    EXPECT_EQ(app.selectedRow, NO_ROW);
    EXPECT_EQ(WindowText(app.delayEdit), L"");

    Select(1);
    Command(ID_EVENT_LIST, LBN_DBLCLK);
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, true, false}));
    Command(ID_EVENT_LIST, LBN_DBLCLK);
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, false, false}));

    // Right click on a row, in the empty area below the last row, and outside the list.
    RightClickAt(40, EVENT_ROW_HEIGHT * 0 + 5);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, false, false}));
    RightClickAt(40, 120);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, false, true}));
    RightClickAt(40, 400);
    RightClickAt(-30, 10);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, false, true}));
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETCURSEL, 0, 0), 1); // the selection stays
    // The menu key acts on the selected row.
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(app.eventList), MAKELPARAM(-1, -1));
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, true, true}));
    // From another window the message is not the list's.
    POINT row0{40, 5};
    ClientToScreen(app.eventList, &row0);
    SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window), MAKELPARAM(row0.x, row0.y));
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, true, true}));

    // An empty list ignores right clicks.
    app.events.clear();
    RebuildEventList();
    RightClickAt(40, 5);
    EXPECT_TRUE(Ticks().empty());
}

TEST_F(EventListWinTest, AllTicksEveryRowAndDeleteRemovesTicked) {
    // Delete with nothing ticked keeps the macro but clears the selection.
    Select(2);
    Command(ID_DELETE, BN_CLICKED);
    EXPECT_EQ(app.events.size(), 3u);
    EXPECT_EQ(app.selectedRow, NO_ROW);

    Select(1);
    Command(ID_EVENT_LIST, LBN_DBLCLK);
    Command(ID_DELETE, BN_DOUBLECLICKED); // another notification does nothing
    EXPECT_EQ(app.events.size(), 3u);
    Command(ID_DELETE, BN_CLICKED);
    ASSERT_EQ(app.events.size(), 2u);
    EXPECT_EQ(Item(1), L"1: Key vk=0x1b  delay=7 ms"); // positions restart from 0

    SendMessageW(app.allCheckbox, BM_SETCHECK, BST_CHECKED, 0);
    Command(ID_ALL, BN_CLICKED);
    EXPECT_EQ(Ticks(), (std::vector<bool>{true, true}));
    SendMessageW(app.allCheckbox, BM_SETCHECK, BST_UNCHECKED, 0);
    Command(ID_ALL, BN_CLICKED);
    EXPECT_EQ(Ticks(), (std::vector<bool>{false, false}));
    SendMessageW(app.allCheckbox, BM_SETCHECK, BST_CHECKED, 0);
    Command(ID_ALL, BN_CLICKED);
    Command(ID_DELETE, BN_CLICKED);
    EXPECT_TRUE(app.events.empty());
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(app.allCheckbox, BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(EventListWinTest, DelaySetWritesTheSelectedRowOnce) {
    SetWindowTextW(app.delayEdit, L"1.5");
    Command(ID_DELAY_SET, BN_CLICKED); // nothing selected
    EXPECT_EQ(app.events[0].delayMs, 0u);

    Select(0);
    SetWindowTextW(app.delayEdit, L"1.5");
    Command(ID_DELAY_SET, BN_CLICKED);
    EXPECT_EQ(app.events[0].delayMs, 1500u);
    EXPECT_EQ(Item(0), L"0: Move dx=3 dy=-1  delay=1500 ms");
    EXPECT_EQ(app.selectedRow, NO_ROW);
    SetWindowTextW(app.delayEdit, L"2");
    Command(ID_DELAY_SET, BN_CLICKED); // the selection is gone
    EXPECT_EQ(app.events[0].delayMs, 1500u);

    Select(2);
    SetWindowTextW(app.delayEdit, L"99999999");
    Command(ID_DELAY_SET, BN_CLICKED);
    EXPECT_EQ(app.events[2].delayMs, 4294967295u);
    Select(1);
    SetWindowTextW(app.delayEdit, L"abc");
    Command(ID_DELAY_SET, BN_CLICKED);
    EXPECT_EQ(app.events[1].delayMs, 0u);
}

TEST_F(EventListWinTest, SpeedSetBoundsTheTypedSpeedAndResetRestoresIt) {
    struct Case {
        const wchar_t* typed;
        double speed;
        const wchar_t* shown;
    } cases[] = {{L"0", 0.05, L"0.050"},
                 {L"-1", 0.05, L"0.050"},
                 {L"abc", 0.05, L"0.050"},
                 {L"9", 5.0, L"5.000"},
                 {L"1.25", 1.25, L"1.250"}};
    for (const Case& c : cases) {
        SetWindowTextW(app.speedEdit, c.typed);
        Command(ID_SPEED_SET, BN_CLICKED);
        EXPECT_DOUBLE_EQ(app.speed.load(), c.speed) << c.typed;
        EXPECT_EQ(WindowText(app.speedEdit), c.shown);
    }
    Command(ID_SPEED_RESET, BN_CLICKED);
    EXPECT_DOUBLE_EQ(app.speed.load(), 0.6);
    EXPECT_EQ(WindowText(app.speedEdit), L"0.600");
}
