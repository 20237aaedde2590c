// Display texts of hotkey bindings.
#include "input/KeyNames.h"

#include <cstdio>
#include <utility>

std::wstring VirtualKeyText(uint32_t vk) {
    wchar_t text[32];
    std::swprintf(text, 32, L"VK 0x%02X", static_cast<unsigned>(vk));
    return text;
}

std::wstring HotkeyText(const HotkeyBinding& binding, const std::wstring& systemKeyName) {
    if (!IsBound(binding)) return L"None";
    if (binding.kind == HotkeyMouseButton) return L"Mouse button";
    std::wstring text;
    constexpr std::pair<uint32_t, const wchar_t*> MODIFIER_NAMES[] = {{MODIFIER_CTRL, L"Ctrl+"},
                                                                      {MODIFIER_ALT, L"Alt+"},
                                                                      {MODIFIER_SHIFT, L"Shift+"},
                                                                      {MODIFIER_WIN, L"Win+"}};
    for (auto [modifier, name] : MODIFIER_NAMES) {
        if (binding.code & modifier) text += name;
    }
    return text + (systemKeyName.empty() ? VirtualKeyText(binding.code & KEY_CODE_BITS) : systemKeyName);
}

bool IsExtendedKey(uint32_t vk) {
    switch (vk) {
    case 0x03: // Break
    case 0x21: // Page Up
    case 0x22: // Page Down
    case 0x23: // End
    case 0x24: // Home
    case 0x25: // Left
    case 0x26: // Up
    case 0x27: // Right
    case 0x28: // Down
    case 0x2D: // Insert
    case 0x2E: // Delete
    case 0x5B: // left Windows key
    case 0x5C: // right Windows key
    case 0x5D: // Applications
    case 0x6F: // numeric-pad divide
    case 0x90: // Num Lock
    case 0xA3: // right Ctrl
    case 0xA5: // right Alt
        return true;
    default:
        return false;
    }
}
