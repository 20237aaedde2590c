// The owner-drawn event list and the editing commands on it (delay, delete, ticks, speed).
#pragma once

#include <windows.h>

// Lets the list box answer LB_GETTEXT and LB_GETTEXTLEN with the row texts; once, after it is made.
void AttachEventListTexts();
// Gives the delay and speed boxes their Enter key and the speed box its return to the speed in
// effect; once, after they are made.
void AttachEditBoxKeys();
// Lists `app.events` afresh, unticked and unselected: one row per event, at constant cost.
void RebuildEventList();
void DrawEventRow(const DRAWITEMSTRUCT* item);
void OnEventListSelectionChanged();
void ToggleTickOfSelectedRow();
void OnEventListContextMenu(LPARAM screenPoint);
void TickAllRows();
void ApplyRowDelay();
void DeleteTickedRows();
void ApplySpeed();
void ResetSpeed();
