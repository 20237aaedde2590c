// The owner-drawn event list and the editing commands on it (delay, delete, ticks, speed).
#pragma once

#include <windows.h>

constexpr UINT WM_APP_FILL_EVENT_LIST = WM_APP + 2;

// Makes the rows of `app.events` and fills the list box with them: at once, or, inside the
// keyboard hook, on the next turn of the message loop, with no rows until then.
void RebuildEventList();
// Makes the rows and fills the list box if a rebuild is still pending.
void FillPendingEventList();
void DrawEventRow(const DRAWITEMSTRUCT* item);
void OnEventListSelectionChanged();
void ToggleTickOfSelectedRow();
void OnEventListContextMenu(LPARAM screenPoint);
void TickAllRows();
void ApplyRowDelay();
void DeleteTickedRows();
void ApplySpeed();
void ResetSpeed();
