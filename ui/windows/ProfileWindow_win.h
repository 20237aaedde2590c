// The profile window and profile switching.
#pragma once

#include <windows.h>

void OpenProfileWindow();
void SwitchToProfile(int slot);
void SelectPreviousProfile();
void SelectNextProfile();
