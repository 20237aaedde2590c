// The event list box and its commands.
#include "macro/EventList_win.h"

#include "app/AppState.h"
#include "app/ControlTable.h"
#include "app/WindowText_win.h"

void RebuildEventList() {
    app.eventListRows.clear();
    app.rowTicks.clear();
    app.selectedRow = NO_ROW;
    if (!app.eventList) return;
    SendMessageW(app.eventList, LB_RESETCONTENT, 0, 0);
}

void DrawEventRow(const DRAWITEMSTRUCT*) {}
void OnEventListSelectionChanged() {}
void ToggleTickOfSelectedRow() {}
void OnEventListContextMenu(LPARAM) {}
void TickAllRows() {}
void ApplyRowDelay() {}
void DeleteTickedRows() {}
void ApplySpeed() {}

void ResetSpeed() {
    app.speed = SPEED_DEFAULT;
    SetControlText(app.speedEdit, FormatSpeed(app.speed));
}
