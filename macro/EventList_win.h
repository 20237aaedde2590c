// The owner-drawn event list and the editing commands on it (delay, delete, ticks, speed).
#pragma once

#include <windows.h>

constexpr UINT WM_APP_FILL_EVENT_LIST = WM_APP + 2;

// Makes the rows of `app.events`; fills the list box with them at once, or, inside the keyboard
// hook, on the next turn of the message loop (the rows and ticks are current either way).
void RebuildEventList();
// Fills the list box from the rows if a fill is still pending.
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
