// The owner-drawn event list and the editing commands on it (delay, delete, ticks, speed).
#pragma once

#include <windows.h>

#include <string>

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
// The clipboard's text as one byte per character, as the macro file's: a character that one byte
// cannot hold, which no EV line has, becomes '?'. Empty when there is no text.
std::string TextOnClipboard();
// Makes the main window the clipboard's owner with `text`, which it hands over when asked.
bool PutTextOnClipboard(std::string text);
// Whether the clipboard holds text this window put there and has kept.
bool OwnsClipboardText();
// WM_RENDERFORMAT for CF_UNICODETEXT (the clipboard is open), and WM_RENDERALLFORMATS: the text
// stays on the clipboard when the program ends.
void RenderClipboardText();
void RenderClipboardTextBeforeExit();
