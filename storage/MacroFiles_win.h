// The macro commands of the main window: saving under the output box's name, loading through the
// Open dialog, the reading that profile keys share with them, and opening a file from any folder
// (the command line).
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
// Loads the file the user picks, from any folder; one that cannot be loaded is reported as
// OpenMacroFile reports it.
bool LoadMacroWithDialog(HWND owner);
// Reads and parses the macro file at `path` into `contents` (which holds the start values), and
// its header text into `header` when given. False, with the reason in GetLastError (this program's
// ERROR_BAD_FORMAT, ERROR_FILE_TOO_LARGE, ERROR_NOT_ENOUGH_MEMORY or the system's), for a file
// that is not a regular file, not a macro, larger than MACRO_FILE_MAX_BYTES or too large for memory.
bool ReadMacroAt(const std::wstring& path, MacroFileContents& contents, std::string* header = nullptr);
// Loads as "Add" does, with the output box set to the file's name; a file that cannot be loaded,
// and a path that LocalFilePath refuses, is reported in one message box naming it and the reason.
bool OpenMacroFile(HWND owner, const std::wstring& path);
