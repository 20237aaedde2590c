// The low-level keyboard hook: fixed keys, hotkeys, captures and key recording.
#include "input/KeyboardHook_win.h"

#include "app/AppState.h"

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM data) {
    return CallNextHookEx(app.keyboardHook, code, message, data);
}

void InstallKeyboardHook() { app.keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHookProc, nullptr, 0); }

void RemoveKeyboardHook() {
    if (!app.keyboardHook) return;
    UnhookWindowsHookEx(app.keyboardHook);
    app.keyboardHook = nullptr;
}

void ShowHotkeyText(HWND edit, HotkeyBinding binding) {
    if (!edit) return;
    SetWindowTextW(edit, IsBound(binding) ? L"?" : L"None");
}
