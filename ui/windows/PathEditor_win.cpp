// The mouse path editor window: view, hit test, drag, pan and zoom.
#include "ui/windows/PathEditor_win.h"

void OpenPathEditor() {}
