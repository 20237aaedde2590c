// Shared steps of the profile Wine tests: the real main window with the real profile window
// opened by its button, macro files in the macro folder, and clicks on the window's controls.
#pragma once

#include "app/AppState.h"

#include <windows.h>

#include <string>

// Creates the main window and opens the profile window with the "Profile" button.
HWND OpenTestProfileWindow();
void CloseTestWindows();
HWND ProfileControl(int id);
void ClickButton(HWND button);
// Writes a small macro file of `keyCount` Key events into the macro folder; returns its path.
std::wstring WriteTestMacro(const std::wstring& fileName, int keyCount);
std::string ReadFileBytes(const std::wstring& path);
