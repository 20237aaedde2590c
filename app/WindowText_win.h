// Small helpers for reading and writing control texts; every writer skips windows that do not exist.
#pragma once

#include <windows.h>

#include <string>

void SetControlText(HWND control, const std::wstring& text);
// Reads at most `limit` - 1 characters, as GetWindowTextW with a buffer of `limit` does.
std::wstring ReadControlText(HWND control, int limit);
