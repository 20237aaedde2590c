// Saving and loading profile files with the system file dialogs, inside the profile folder only.
#pragma once

#include <windows.h>

#include <string>

// Writes the profile to `path`, which must lie in the profile folder. A macro path that one byte
// per character cannot hold is written as its short (8.3) path when it has one.
bool SaveProfileToPath(const std::wstring& path);
// Asks for a file in the profile folder and writes the profile there; true when written.
bool SaveProfileFile(HWND owner);
// Asks for a profile file, merges it into the profile, refreshes the profile window and switches
// to the active slot again; true when a file was read. A refused file is reported in a message box
// naming it and the reason.
bool LoadProfileFile(HWND owner);
// The same without the dialog. A file that does not start with a profile magic or is larger than
// PROFILE_FILE_MAX_BYTES is refused without being read whole, and the profile stays as it was; the
// reason is left in GetLastError. MAP paths on network shares are dropped.
bool LoadProfileFromPath(const std::wstring& path);
