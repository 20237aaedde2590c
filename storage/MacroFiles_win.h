// The macro commands of the main window: saving under the output box's name, loading through the
// Open dialog, the reading and taking over that profile keys share with them, and opening a file
// from any folder (the command line).
#pragma once

#include <windows.h>

#include <string>

struct MacroFileContents;

bool SaveMacroByName(HWND owner);
// At a shutdown or sign-out: writes the macro to a new file "Unsaved YYYY-MM-DD HHMM.kmc" in the
// macro folder and leaves a note for the next start. Asks nothing.
bool KeepUnsavedMacro();
// The next start's message naming that file, once; empty when there is none.
std::wstring TakeUnsavedMacroNotice();
bool LoadMacroWithDialog(HWND owner);
// Reads the file whole when it begins with the magic line; false otherwise.
bool ReadMacroBytesAt(const std::wstring& path, std::string& bytes);
// Puts read settings and events into the program and its controls. `fromDialog` adds the speed
// edit and the hold-off key. The replaced macro moves into the undo history.
void TakeOverMacro(MacroFileContents& contents, bool fromDialog);
// Loads as "Add" does, with the output box set to the file's name; a file that cannot be loaded
// is reported in one message box.
bool OpenMacroFile(HWND owner, const std::wstring& path);
