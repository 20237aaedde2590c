// The macro commands of the main window: saving under the output box's name, loading through the
// Open dialog, and the reading and taking over that profile keys share with them.
#pragma once

#include <windows.h>

#include <string>

struct MacroFileContents;

bool SaveMacroByName(HWND owner);
bool LoadMacroWithDialog(HWND owner);
// Reads the file whole when it begins with the magic line; false otherwise.
bool ReadMacroBytesAt(const std::wstring& path, std::string& bytes);
// Puts read settings and events into the program and its controls. `fromDialog` adds the speed
// edit and the hold-off key. The replaced macro is left in `contents.events`, so that the caller
// chooses when its memory is given back.
void TakeOverMacro(MacroFileContents& contents, bool fromDialog);
