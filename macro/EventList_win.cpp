// The owner-drawn event list box and the commands on it: selection, ticks, delay, delete, speed.
#include "macro/EventList_win.h"

#include "app/AppState.h"
#include "app/ControlTable.h"
#include "app/WindowText_win.h"
#include "macro/EventList.h"
#include "macro/MacroUndo.h"
#include "ui/theme/Palette.h"

#include <windowsx.h>

#include <algorithm>

namespace {

constexpr int TICK_CELL_WIDTH = 16;
constexpr int TICK_BOX_INSET = 3;
constexpr int ROW_TEXT_INDENT = 20;
// Typed values are read with this buffer size, so at most 63 characters.
constexpr int EDIT_READ_LIMIT = 64;

size_t RowOfItem(LRESULT item) {
    if (!app.eventList || item == LB_ERR) return NO_ROW;
    LRESULT data = SendMessageW(app.eventList, LB_GETITEMDATA, static_cast<WPARAM>(item), 0);
    if (data == LB_ERR) return NO_ROW;
    return static_cast<size_t>(data);
}

void ToggleTickOfItem(LRESULT item) {
    size_t row = RowOfItem(item);
    if (row >= app.rowTicks.size()) return;
    app.rowTicks[row] = !app.rowTicks[row];
    RECT rect;
    if (SendMessageW(app.eventList, LB_GETITEMRECT, static_cast<WPARAM>(item),
                     reinterpret_cast<LPARAM>(&rect)) != LB_ERR) {
        InvalidateRect(app.eventList, &rect, TRUE);
    }
}

void PaintTickMark(HDC dc, const RECT& box) {
    HPEN pen = CreatePen(PS_SOLID, 2, textColor);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, box.left + 3, box.top + 5, nullptr);
    LineTo(dc, box.left + 7, box.bottom - 3);
    LineTo(dc, box.right - 3, box.top + 3);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
}

} // namespace

void RebuildEventList() {
    app.eventListRows.clear();
    app.rowTicks.clear();
    app.selectedRow = NO_ROW;
    if (!app.eventList) return;
    if (app.allCheckbox) SendMessageW(app.allCheckbox, BM_SETCHECK, BST_UNCHECKED, 0);

    // Inside the hook the rows are made and the box filled on the next turn of the message loop.
    // Until then there are no rows: every use of a row or an item checks it against the rows, so
    // ticks, delays and deletes find nothing to act on, and the box may show the old texts.
    bool alreadyPending = app.eventListFillPending;
    app.eventListFillPending = true;
    if (app.insideKeyboardHook && app.mainWindow) {
        if (!alreadyPending) PostMessageW(app.mainWindow, WM_APP_FILL_EVENT_LIST, 0, 0);
        return;
    }
    FillPendingEventList();
}

void FillPendingEventList() {
    if (!app.eventListFillPending || !app.eventList) return;
    app.eventListFillPending = false;
    app.eventListRows = MakeEventRows(app.events);
    app.rowTicks.assign(app.eventListRows.size(), false);
    // A long macro fills the box far faster without a repaint per added row.
    SendMessageW(app.eventList, WM_SETREDRAW, FALSE, 0);
    SendMessageW(app.eventList, LB_RESETCONTENT, 0, 0);
    for (size_t row = 0; row < app.eventListRows.size(); ++row) {
        LRESULT item = SendMessageW(app.eventList, LB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(app.eventListRows[row].text.c_str()));
        if (item >= 0)
            SendMessageW(app.eventList, LB_SETITEMDATA, static_cast<WPARAM>(item), static_cast<LPARAM>(row));
    }
    SendMessageW(app.eventList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(app.eventList, nullptr, TRUE);
}

void DrawEventRow(const DRAWITEMSTRUCT* item) {
    HDC dc = item->hDC;
    RECT rect = item->rcItem;
    int saved = SaveDC(dc);

    HBRUSH fill = CreateSolidBrush((item->itemState & ODS_SELECTED) ? selectedRowColor : controlColor);
    FillRect(dc, &rect, fill);
    DeleteObject(fill);

    LRESULT data = SendMessageW(item->hwndItem, LB_GETITEMDATA, item->itemID, 0);
    size_t row = data == LB_ERR ? NO_ROW : static_cast<size_t>(data);
    const std::wstring* text = row < app.eventListRows.size() ? &app.eventListRows[row].text : nullptr;
    bool ticked = row < app.rowTicks.size() && app.rowTicks[row];

    RECT box{rect.left + TICK_BOX_INSET, rect.top + TICK_BOX_INSET,
             rect.left + TICK_CELL_WIDTH - TICK_BOX_INSET, rect.bottom - TICK_BOX_INSET};
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (ticked) PaintTickMark(dc, box);

    if (text) {
        RECT textRect = rect;
        textRect.left = rect.left + ROW_TEXT_INDENT;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, textColor);
        DrawTextW(dc, text->c_str(), static_cast<int>(text->size()), &textRect, DT_VCENTER | DT_SINGLELINE);
    }
    if (item->itemState & ODS_FOCUS) DrawFocusRect(dc, &rect);
    RestoreDC(dc, saved);
}

void OnEventListSelectionChanged() {
    app.selectedRow = NO_ROW;
    if (!app.eventList || !app.delayEdit) return;
    LRESULT current = SendMessageW(app.eventList, LB_GETCURSEL, 0, 0);
    if (current == LB_ERR) {
        SetControlText(app.delayEdit, L"");
        return;
    }
    size_t row = RowOfItem(current);
    if (row < app.eventListRows.size()) {
        app.selectedRow = row;
        const std::vector<size_t>& positions = app.eventListRows[row].eventIndices;
        if (!positions.empty() && positions.front() < app.events.size()) {
            SetControlText(app.delayEdit, FormatDelaySeconds(app.events[positions.front()].delayMs));
            return;
        }
    }
    SetControlText(app.delayEdit, L"");
}

void ToggleTickOfSelectedRow() {
    if (!app.eventList) return;
    ToggleTickOfItem(SendMessageW(app.eventList, LB_GETCURSEL, 0, 0));
}

void OnEventListContextMenu(LPARAM screenPoint) {
    if (!app.eventList) return;
    POINT point{GET_X_LPARAM(screenPoint), GET_Y_LPARAM(screenPoint)};
    if (point.x == -1 && point.y == -1) {
        // The menu key: act on the selected row.
        LRESULT current = SendMessageW(app.eventList, LB_GETCURSEL, 0, 0);
        RECT rect;
        if (current == LB_ERR || SendMessageW(app.eventList, LB_GETITEMRECT, static_cast<WPARAM>(current),
                                              reinterpret_cast<LPARAM>(&rect)) == LB_ERR) {
            return;
        }
        point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(app.eventList, &point);
    }
    ScreenToClient(app.eventList, &point);
    RECT client;
    GetClientRect(app.eventList, &client);
    if (!PtInRect(&client, point)) return;
    LRESULT count = SendMessageW(app.eventList, LB_GETCOUNT, 0, 0);
    if (count <= 0) return;
    // The nearest row: below the last row that is the last row. Counted here rather than with
    // LB_ITEMFROMPOINT, whose answer is 16 bits wide and which some systems report as outside
    // the list for the empty area below the rows.
    LRESULT top = SendMessageW(app.eventList, LB_GETTOPINDEX, 0, 0);
    LRESULT height = SendMessageW(app.eventList, LB_GETITEMHEIGHT, 0, 0);
    if (top == LB_ERR || height <= 0) return;
    LRESULT item = std::min<LRESULT>(top + point.y / height, count - 1);
    ToggleTickOfItem(item);
}

void TickAllRows() {
    if (!app.allCheckbox) return;
    bool ticked = SendMessageW(app.allCheckbox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    app.rowTicks.assign(app.rowTicks.size(), ticked);
    if (app.eventList) InvalidateRect(app.eventList, nullptr, TRUE);
}

void ApplyRowDelay() {
    if (app.selectedRow >= app.eventListRows.size() || !app.delayEdit) return;
    uint32_t delayMs = DelayMsFromText(ReadControlText(app.delayEdit, EDIT_READ_LIMIT));
    if (!EditMacroKeepingUndo([delayMs] { return WriteRowDelay(app.selectedRow, delayMs); })) return;
    RebuildEventList();
}

void DeleteTickedRows() {
    if (!RemoveTickedEvents()) return;
    RebuildEventList();
}

void ApplySpeed() {
    if (!app.speedEdit) return;
    double speed = SpeedFromText(ReadControlText(app.speedEdit, EDIT_READ_LIMIT));
    app.speed = speed;
    SetControlText(app.speedEdit, FormatSpeed(speed));
}

void ResetSpeed() {
    app.speed = SPEED_DEFAULT;
    SetControlText(app.speedEdit, FormatSpeed(app.speed));
}
