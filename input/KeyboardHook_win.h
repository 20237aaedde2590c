// The system-wide low-level keyboard hook, the hotkey actions it shares with the raw mouse
// handler, and the display text of hotkey bindings.
#pragma once

#include "core/ProfileRecords.h"

#include <windows.h>

#include <string>

LRESULT CALLBACK KeyboardHookProc(int code, WPARAM message, LPARAM data);
void InstallKeyboardHook();
void RemoveKeyboardHook();

// Performs one key press or release by the hook's rules; true when the key is swallowed. `own`
// for the keys the playback injected.
bool PerformKeyPress(uint32_t vk, bool own = false);
bool PerformKeyRelease(uint32_t vk, bool own = false);

// What an armed hotkey box shows until it takes a key or button.
constexpr wchar_t CAPTURE_PROMPT_TEXT[] = L"Press a key";
void ShowCapturePrompt(HWND edit);
// Disarms every hotkey capture (Escape, a box losing the focus); each box shows its binding again.
void EndHotkeyCaptures();
// From a window's WM_PARENTNOTIFY for a left click at `point`: a click into the hotkey box that has
// the focus arms it again, as the focus coming into it does (its owner's EN_SETFOCUS).
void RearmClickedHotkeyBox(HWND window, LPARAM point);

// The hotkey actions; the mouse-button hotkeys use them too.
void ToggleMaster();
// The switch-off sound of an F4 that stopped a playback, once that playback has ended.
void PlayPendingMasterSound();
void ClearRecordPlayHotkeys();
void HoldOffPress();
void HoldOffRelease();
void RecordHotkeyPress();
void PlayHotkeyPress();
void PlayHotkeyRelease();
// The hold state itself, switched by the hold-off key or mouse button.
void SwitchHoldStateOff();
void SwitchHoldStateOn();

void ShowHotkeyText(HWND edit, HotkeyBinding binding);
// The system's name of a key, empty when it has none.
std::wstring SystemKeyName(uint32_t vk);
