// The macro commands of the main window: saving under the output box's name, loading through the
// Open dialog, and loading a given path (profile keys).
#pragma once

#include <windows.h>

#include <string>

bool SaveMacroByName(HWND owner);
bool LoadMacroWithDialog(HWND owner);
bool LoadMacroFromPath(const std::wstring& path);
