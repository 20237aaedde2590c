// The owner-drawn event list box and the commands on it: selection, ticks, delay, delete, speed,
// and the list's keys: ticks, delete, move, and rows through the clipboard as EV lines.
#include "macro/EventList_win.h"

#include "core/AppState.h"
#include "ui/windows/ControlTable.h"
#include "ui/windows/WindowText_win.h"
#include "input/KeyboardHook_win.h"
#include "macro/EventList.h"
#include "macro/Playback_win.h"
#include "macro/Undo.h"
#include "storage/MacroFile.h"
#include "ui/theme/Palette.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr int TICK_CELL_WIDTH = 16;
constexpr int TICK_BOX_INSET = 3;
constexpr int ROW_TEXT_INDENT = 20;
// Typed values are read with this buffer size, so at most 63 characters.
constexpr int EDIT_READ_LIMIT = 64;
constexpr wchar_t DELAY_REFUSED_TEXT[] = L"A delay is a number of seconds from 0 to 4294967.295, such as 1.5 "
                                         L"or 1,5.\n\nThe delay was not changed.";

// The list holds no data: item n is row n, which stands for event n.
size_t RowOfItem(LRESULT item) {
    return item < 0 ? NO_ROW : static_cast<size_t>(item);
}

constexpr wchar_t NO_EV_LINES_TEXT[] = L"Nothing pasted: the clipboard holds no EV lines";

// Another program may hold the clipboard for a moment (clipboard managers read every change).
bool OpenClipboardSoon() {
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (OpenClipboard(app.mainWindow)) return true;
        Sleep(5);
    }
    return false;
}

LRESULT TopRow() {
    return SendMessageW(app.eventList, LB_GETTOPINDEX, 0, 0);
}

// Lists the edited macro with `ticks` (when they still fit), scrolled where it was, and selects
// `select` when it is a row, as a click would.
void ShowEditedRows(std::vector<bool> ticks, LRESULT top, size_t select) {
    RebuildEventList();
    if (!app.eventList) return;
    if (ticks.size() == app.rowTicks.size()) app.rowTicks = std::move(ticks);
    SendMessageW(app.eventList, LB_SETTOPINDEX, static_cast<WPARAM>(std::max<LRESULT>(top, 0)), 0);
    if (select < app.events.size()) SendMessageW(app.eventList, LB_SETCURSEL, select, 0);
    OnEventListSelectionChanged();
}

// Deletes `rows` (in order), as the Delete button, the Delete key and Ctrl+X all do: the rows on
// screen stay where they were and the row after the deleted ones is selected.
void DeleteRowsKeepingPlace(const std::vector<size_t>& rows) {
    std::vector<bool> deleted(app.events.size());
    for (size_t row : rows) {
        if (row < deleted.size()) deleted[row] = true;
    }
    LRESULT top = TopRow();
    RowsAfterDelete place =
        PlaceAfterDelete(deleted, deleted.size(), top == LB_ERR ? 0 : static_cast<size_t>(top));
    if (!RemoveRows(rows)) return;
    ShowEditedRows({}, static_cast<LRESULT>(place.top), place.selected);
}

void CopyRows(bool cut) {
    if (cut && !MacroEditable()) return;
    std::vector<size_t> rows = RowsToActOn();
    if (rows.empty()) return;
    // Rows that did not reach the clipboard are not cut.
    if (!PutTextOnClipboard(EventLinesOfRows(rows)) || !cut) return;
    DeleteRowsKeepingPlace(rows);
}

void PasteRows() {
    if (!MacroEditable()) return;
    LRESULT top = TopRow();
    bool own = OwnsClipboardText();
    std::string others = own ? std::string() : TextOnClipboard();
    size_t first = InsertEventLinesAfterRow(app.selectedRow, own ? app.clipboardText : others);
    if (first == NO_ROW) {
        ShowStatus(NO_EV_LINES_TEXT);
        return;
    }
    if (app.statusLabel && ReadControlText(app.statusLabel, 64) == NO_EV_LINES_TEXT)
        ShowStatus(LISTENING_TEXT);
    ShowEditedRows({}, top, first);
}

void MoveRows(bool down) {
    if (!MacroEditable()) return;
    size_t selected = app.selectedRow;
    LRESULT top = TopRow();
    if (!MoveRowsOnePlace(RowsToActOn(), down, selected)) return;
    ShowEditedRows(app.rowTicks, top, selected);
}

void RunListKey(EventListKeyAction action) {
    switch (action) {
    case TickSelectedKey:
        ToggleTickOfSelectedRow();
        return;
    case DeleteRowsKey:
        if (MacroEditable()) DeleteRowsKeepingPlace(RowsToActOn());
        return;
    case TickAllKey:
        if (app.allCheckbox) SendMessageW(app.allCheckbox, BM_SETCHECK, BST_CHECKED, 0);
        TickAllRows();
        return;
    case CopyRowsKey:
    case CutRowsKey:
        CopyRows(action == CutRowsKey);
        return;
    case PasteRowsKey:
        PasteRows();
        return;
    case MoveRowsUpKey:
    case MoveRowsDownKey:
        MoveRows(action == MoveRowsDownKey);
        return;
    case NoListKey:
        return;
    }
}

// The list box keeps no strings, so it answers the text requests itself: other programs
// (screen readers, test tools) still read the rows' texts.
LRESULT CALLBACK EventListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == LB_GETTEXTLEN || message == LB_GETTEXT) {
        if (wParam >= app.events.size()) return LB_ERR;
        std::wstring text = EventRowText(wParam, SystemKeyName);
        if (message == LB_GETTEXT && lParam)
            std::copy(text.c_str(), text.c_str() + text.size() + 1, reinterpret_cast<wchar_t*>(lParam));
        return static_cast<LRESULT>(text.size());
    }
    // The message carries the thumb's position in 16 bits, which wraps past row 65,535; the
    // scroll bar itself holds it whole.
    if (message == WM_VSCROLL && (LOWORD(wParam) == SB_THUMBTRACK || LOWORD(wParam) == SB_THUMBPOSITION)) {
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(list, SB_VERT, &info)) {
            SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(info.nTrackPos), 0);
            return 0;
        }
    }
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        EventListKeyAction action = EventListKeyFor(
            static_cast<uint32_t>(wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
            message == WM_SYSKEYDOWN && (HIWORD(lParam) & KF_ALTDOWN));
        RunListKey(action);
        // Alt's keys go on to the system, which then knows that Alt was not pressed alone to open the
        // window menu.
        if (action != NoListKey && message == WM_KEYDOWN) return 0;
    }
    // Typing would search the rows for text they only make when painted.
    if (message == WM_CHAR) return 0;
    return CallWindowProcW(reinterpret_cast<WNDPROC>(app.eventListBaseProc), list, message, wParam, lParam);
}

// Enter in the delay or speed box does what the box's Set does; the speed box shows the speed in
// effect again when the focus leaves it for anything but its Set, so that a typed value never
// looks applied when it is not.
LRESULT CALLBACK EditBoxProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam) {
    bool enter = wParam == VK_RETURN && (message == WM_KEYDOWN || message == WM_CHAR);
    if (enter && (edit == app.delayEdit || edit == app.speedEdit)) {
        // The character would only beep.
        if (message == WM_CHAR) return 0;
        if (edit == app.delayEdit)
            ApplyRowDelay();
        else
            ApplySpeed();
        return 0;
    }
    if (message == WM_KILLFOCUS && edit == app.speedEdit &&
        reinterpret_cast<HWND>(wParam) != GetDlgItem(app.mainWindow, ID_SPEED_SET))
        SetControlText(app.speedEdit, FormatSpeed(app.speed));
    return CallWindowProcW(reinterpret_cast<WNDPROC>(app.editBaseProc), edit, message, wParam, lParam);
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

void AttachEditBoxKeys() {
    for (HWND edit : {app.delayEdit, app.speedEdit}) {
        if (!edit) continue;
        // Both are EDIT controls: the base procedure is the class's.
        app.editBaseProc = reinterpret_cast<void*>(
            SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditBoxProc)));
    }
}

bool PutTextOnClipboard(std::string text) {
    if (!OpenClipboardSoon()) return false;
    // Emptying tells the previous owner, which may be this window, to let go of its text.
    bool put = EmptyClipboard();
    if (put) {
        app.clipboardText = std::move(text);
        // Handed over only when a program asks (delayed rendering): Wine copies whatever is set
        // into its server, some 150 ms for the text of 100,000 rows.
        SetClipboardData(CF_UNICODETEXT, nullptr);
    }
    CloseClipboard();
    return put;
}

void RenderClipboardText() {
    const std::string& text = app.clipboardText;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    auto* wide = memory ? static_cast<wchar_t*>(GlobalLock(memory)) : nullptr;
    if (!wide) {
        if (memory) GlobalFree(memory);
        return;
    }
    for (size_t i = 0; i < text.size(); ++i)
        wide[i] = static_cast<unsigned char>(text[i]);
    wide[text.size()] = 0;
    GlobalUnlock(memory);
    if (!SetClipboardData(CF_UNICODETEXT, memory)) GlobalFree(memory); // owned by the clipboard once taken
}

void RenderClipboardTextBeforeExit() {
    if (!OpenClipboard(app.mainWindow)) return;
    // Another program may have taken the clipboard since the message was sent.
    if (GetClipboardOwner() == app.mainWindow) RenderClipboardText();
    CloseClipboard();
}

bool OwnsClipboardText() {
    return GetClipboardOwner() == app.mainWindow && !app.clipboardText.empty();
}

std::string TextOnClipboard() {
    // Rows this window put there are read as they are, without a round trip through the system.
    if (OwnsClipboardText()) return app.clipboardText;
    std::string text;
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboardSoon()) return text;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    const auto* wide = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
    if (wide) {
        size_t length = wcsnlen(wide, GlobalSize(data) / sizeof(wchar_t));
        text.resize(length);
        for (size_t i = 0; i < length; ++i)
            text[i] = wide[i] <= 0xFF ? static_cast<char>(wide[i]) : '?';
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void AttachEventListTexts() {
    if (!app.eventList) return;
    app.eventListBaseProc = reinterpret_cast<void*>(
        SetWindowLongPtrW(app.eventList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EventListProc)));
    // The system copies LB_GETTEXT's string to another process only for a list box whose style
    // says it has strings. A no-data box must be made without that bit; set afterwards, it only
    // tells the system how to carry the answers, which are made here and never reach the box.
    LONG_PTR style = GetWindowLongPtrW(app.eventList, GWL_STYLE);
    SetWindowLongPtrW(app.eventList, GWL_STYLE, style | LBS_HASSTRINGS);
}

void RebuildEventList() {
    app.rowTicks.clear();
    app.selectedRow = NO_ROW;
    if (!app.eventList) return;
    app.rowTicks.assign(app.events.size(), false);
    // A no-data list box only learns the count, where an LB_ADDSTRING per row took seconds for a
    // long recording: the cost is the rows it paints, not the macro's length.
    // Not emptied first: emptying hides the scroll bar and the count shows it again, two frame
    // changes that cost more than the rest. Unselected and scrolled to the top as an emptied box.
    SendMessageW(app.eventList, LB_SETCOUNT, app.events.size(), 0);
    SendMessageW(app.eventList, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SendMessageW(app.eventList, LB_SETTOPINDEX, 0, 0);
    SendMessageW(app.eventList, LB_SETCARETINDEX, 0, FALSE);
    if (app.allCheckbox) SendMessageW(app.allCheckbox, BM_SETCHECK, BST_UNCHECKED, 0);
    InvalidateRect(app.eventList, nullptr, TRUE);
}

void DrawEventRow(const DRAWITEMSTRUCT* item) {
    HDC dc = item->hDC;
    RECT rect = item->rcItem;
    int saved = SaveDC(dc);

    HBRUSH fill = CreateSolidBrush((item->itemState & ODS_SELECTED) ? selectedRowColor : controlColor);
    FillRect(dc, &rect, fill);
    DeleteObject(fill);

    size_t row = item->itemID;
    std::wstring text = EventRowText(row, SystemKeyName);
    bool ticked = row < app.rowTicks.size() && app.rowTicks[row];

    RECT box{rect.left + TICK_BOX_INSET, rect.top + TICK_BOX_INSET,
             rect.left + TICK_CELL_WIDTH - TICK_BOX_INSET, rect.bottom - TICK_BOX_INSET};
    FrameRect(dc, &box, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (ticked) PaintTickMark(dc, box);

    if (!text.empty()) {
        RECT textRect = rect;
        textRect.left = rect.left + ROW_TEXT_INDENT;
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, textColor);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_VCENTER | DT_SINGLELINE);
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
    if (row >= app.events.size()) {
        SetControlText(app.delayEdit, L"");
        return;
    }
    app.selectedRow = row;
    SetControlText(app.delayEdit, FormatDelaySeconds(app.events[row].delayMs));
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
    // The row under the point; below the last row there is none. Counted here rather than with
    // LB_ITEMFROMPOINT, whose answer is 16 bits wide.
    LRESULT top = SendMessageW(app.eventList, LB_GETTOPINDEX, 0, 0);
    LRESULT height = SendMessageW(app.eventList, LB_GETITEMHEIGHT, 0, 0);
    if (top == LB_ERR || height <= 0) return;
    LRESULT item = top + point.y / height;
    if (item < count) ToggleTickOfItem(item);
}

void TickAllRows() {
    if (!app.allCheckbox) return;
    bool ticked = SendMessageW(app.allCheckbox, BM_GETCHECK, 0, 0) == BST_CHECKED;
    app.rowTicks.assign(app.rowTicks.size(), ticked);
    if (app.eventList) InvalidateRect(app.eventList, nullptr, TRUE);
}

// The row keeps its place, its tick and the selection: only its text changed.
void ApplyRowDelay() {
    if (app.selectedRow >= app.events.size() || !app.delayEdit) return;
    uint32_t delayMs = 0;
    if (!DelayMsFromText(ReadControlText(app.delayEdit, EDIT_READ_LIMIT), delayMs)) {
        MessageBoxW(app.mainWindow, DELAY_REFUSED_TEXT, L"Edit delay", MB_OK | MB_ICONWARNING);
        return;
    }
    EditMacroKeepingUndo([delayMs] { return WriteRowDelay(app.selectedRow, delayMs); });
    SetControlText(app.delayEdit, FormatDelaySeconds(delayMs));
    if (app.eventList) InvalidateRect(app.eventList, nullptr, TRUE);
}

void DeleteTickedRows() {
    DeleteRowsKeepingPlace(TickedRows());
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
