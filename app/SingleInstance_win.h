// One running program at a time: a second start hands its macro path to the running program and
// ends, since two programs would both hook the keyboard and act on every hotkey.
#pragma once

#include <windows.h>

#include <string>

// The main window's class, by which a second start finds the running program.
constexpr wchar_t MAIN_CLASS_NAME[] = L"RawMouseMapperDemo";
// Posted to the main window to open `pendingOpenPath` and come to the front.
constexpr UINT WM_APP_OPEN_MACRO = WM_APP + 14;

// True when another copy runs and this start must end: `path` (possibly empty) went to it, or the
// user was told that it did not take it. False, so that this copy runs, when none runs, when the
// running copy ended while it was asked, or when no running window answers in about 5 s.
bool HandOverToRunningProgram(const std::wstring& path);
// Lets a second start that runs with less rights than this copy hand over its path.
void AllowHandOversFromLowerIntegrity(HWND window);
// WM_COPYDATA from a second start: keeps the path and posts WM_APP_OPEN_MACRO.
LRESULT AcceptHandedOverPath(const COPYDATASTRUCT* data);
// Opens the handed path if there is one; the window comes to the front either way.
void OpenPendingMacro();
