// Saving and loading macro files from the main window.
#pragma once

#include <windows.h>

#include <string>

bool SaveMacroByName(HWND owner);
bool LoadMacroWithDialog(HWND owner);
bool LoadMacroFromPath(const std::wstring& path);
