// The owner-drawn event list and the editing commands on it (delay, delete, ticks, speed).
#pragma once

#include <windows.h>

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
