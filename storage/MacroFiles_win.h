// The macro commands of the main window: saving under the output box's name, loading through the
// Open dialog, the reading that profile keys share with them, and opening a file from any folder
// (the command line).
#pragma once

#include <windows.h>

#include <string>

bool SaveMacroByName(HWND owner);
bool LoadMacroWithDialog(HWND owner);
// Reads the file whole when it begins with the magic line; false otherwise.
bool ReadMacroBytesAt(const std::wstring& path, std::string& bytes);
// Loads as "Add" does, with the output box set to the file's name; a file that cannot be loaded
// is reported in one message box.
bool OpenMacroFile(HWND owner, const std::wstring& path);
