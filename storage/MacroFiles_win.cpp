// The save and load commands.
#include "storage/MacroFiles_win.h"

bool SaveMacroByName(HWND) { return false; }
bool LoadMacroWithDialog(HWND) { return false; }
bool LoadMacroFromPath(const std::wstring&) { return false; }
