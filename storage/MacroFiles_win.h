// The macro commands of the main window: saving under the output box's name, loading through the
// Open dialog, loading a given path (profile keys), and opening a file from any folder (the
// command line).
#pragma once

#include <windows.h>

#include <string>

bool SaveMacroByName(HWND owner);
bool LoadMacroWithDialog(HWND owner);
bool LoadMacroFromPath(const std::wstring& path);
// Loads as "Add" does, with the output box set to the file's name; a file that cannot be loaded
// is reported in one message box.
bool OpenMacroFile(HWND owner, const std::wstring& path);
