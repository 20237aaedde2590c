// Puts the keyboard hook back when raw keyboard input shows that Windows removed it.
#pragma once

#include <windows.h>

// Registers for raw keyboard input in the background; only key presses are looked at.
void RegisterRawKeyboardWatch(HWND target);
// Called for each raw keyboard packet.
void OnRawKeyboardPacket(const RAWKEYBOARD& keyboard);
