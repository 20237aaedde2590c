// The status overlay: profile, REC, PLAY and the master switch in large print.
#include "ui/windows/Overlay_win.h"

void OpenOverlay() {}
