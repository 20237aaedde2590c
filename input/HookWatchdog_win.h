// Puts the keyboard hook back when raw keyboard input shows that Windows removed it. The packets
// are read and handed here by RawInput_win.cpp.
#pragma once

#include <windows.h>

// Called for each raw keyboard packet; only key presses are looked at.
void OnRawKeyboardPacket(const RAWKEYBOARD& keyboard);
