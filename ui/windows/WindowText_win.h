// Small helpers for reading and writing control texts and states; every writer skips windows that
// do not exist.
#pragma once

#include "core/AppState.h"

#include <windows.h>

#include <string>

void SetControlText(HWND control, const std::wstring& text);
// Reads at most `limit` - 1 characters, as GetWindowTextW with a buffer of `limit` does.
std::wstring ReadControlText(HWND control, int limit);
// The status line: the resting text at its place in the control table, or a notice in two lines
// above it.
void ShowStatus(const std::wstring& text);
// What the main window names the macro by now (the Output box, the profile label, the active
// slot), kept with the undo step of a load.
MacroNames ShownMacroNames();
// Checks the radio button `checked` of the children `first` to `last` of `window` and clears the
// others. Wine's CheckRadioButton walks every child window (about 2 ms here), too slow for a
// profile key's load inside the keyboard hook.
void CheckRadioInRange(HWND window, int first, int last, int checked);
