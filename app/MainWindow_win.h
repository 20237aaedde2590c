// The main window: its class, its 44 controls, the command dispatch, timer 1 and "Clear".
#pragma once

#include <windows.h>

#include <cstdint>

constexpr UINT_PTR COORD_TIMER_ID = 1;
constexpr UINT COORD_TIMER_PERIOD_MS = 50;
constexpr uint64_t COORD_IDLE_RESET_MS = 80;
// The caption of the question "Save changes to the macro?" when a changed macro is closed.
constexpr wchar_t UNSAVED_MACRO_CAPTION[] = L"Unsaved macro";

bool RegisterMainWindowClass(HINSTANCE instance);
HWND CreateMainWindow(HINSTANCE instance);
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void ClearMacroAndSettings();
void OnCoordTimer();
