// Hotkey edit texts with the system's key names.
#include "input/KeyboardHook_win.h"

#include "input/KeyNames.h"

std::wstring SystemKeyName(uint32_t vk) {
    UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    LONG keyData = static_cast<LONG>((scan & 0xFF) << 16);
    if (IsExtendedKey(vk)) keyData |= 1L << 24;
    wchar_t name[64] = {};
    int length = GetKeyNameTextW(keyData, name, 64);
    if (length <= 0) return {};
    return std::wstring(name, static_cast<size_t>(length < 64 ? length : 63));
}

void ShowHotkeyText(HWND edit, HotkeyBinding binding) {
    if (!edit) return;
    bool keyboard = IsBound(binding) && binding.kind != HotkeyMouseButton;
    std::wstring text = HotkeyText(binding, keyboard ? SystemKeyName(binding.code & KEY_CODE_BITS) : std::wstring());
    SetWindowTextW(edit, text.c_str());
}
