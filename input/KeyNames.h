// The text a read-only hotkey edit shows for a binding: "None", "Mouse button", the key's name
// as the system gives it, or the virtual-key code when the system has no name for it; a chord's
// modifiers go before the key ("Ctrl+Q").
#pragma once

#include "core/ProfileRecords.h"

#include <cstdint>
#include <string>

// `systemKeyName` is the system's name for a keyboard binding's key (without the modifiers of a
// chord), empty when it has none.
std::wstring HotkeyText(const HotkeyBinding& binding, const std::wstring& systemKeyName);

// "VK 0x" and the code in upper-case hexadecimal, at least two digits.
std::wstring VirtualKeyText(uint32_t vk);

// Keys whose scan code carries the E0 prefix; without it the system names the numeric-pad key
// that shares the scan code (the Up arrow would read "Num 8").
bool IsExtendedKey(uint32_t vk);
