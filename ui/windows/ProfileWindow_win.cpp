// The profile window: ten slots, scroll keys, profile files; and switching between slots.
#include "ui/windows/ProfileWindow_win.h"

void OpenProfileWindow() {}
void SwitchToProfile(int) {}
void SelectPreviousProfile() {}
void SelectNextProfile() {}
