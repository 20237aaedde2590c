// The main window's controls after a load: the read settings and events go into the program, and
// every control that shows them is set again.
#pragma once

#include <string>

struct MacroFileContents;

// Puts read settings and events into the program and its controls. The replaced macro moves into
// the undo history.
void TakeOverMacro(MacroFileContents& contents);
