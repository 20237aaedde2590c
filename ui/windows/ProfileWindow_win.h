// The profile window (ten macro slots with names and trigger keys, the scroll keys, profile files)
// and switching the active slot, by key or from the window.
#pragma once

#include <windows.h>

enum ProfileControlId : int {
    ID_PROFILE_ENABLE_FIRST = 7000, // + slot
    ID_PROFILE_NAME_FIRST = 7100,   // + slot
    ID_PROFILE_HOTKEY_FIRST = 7200, // + slot
    ID_PROFILE_CLOSE = 7300,
    ID_PROFILE_SAVE = 7301,
    ID_PROFILE_LOAD = 7302,
    ID_PROFILE_CLEAR = 7303,
    ID_SCROLL_PREV_EDIT = 7350,
    ID_SCROLL_NEXT_EDIT = 7351,
    ID_SCROLL_CLEAR = 7352,
};

constexpr wchar_t PROFILE_WINDOW_CLASS[] = L"KorvaProfileWindow";

// Creates the window, or shows and raises the one that exists.
void OpenProfileWindow();
LRESULT CALLBACK ProfileWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Makes a slot (0 to 9) active: shows it in the labels and loads its macro file when there is one.
void SwitchToProfile(int slot);
// Steps to the previous or next enabled slot, wrapping around.
void SelectPreviousProfile();
void SelectNextProfile();

// Names every unnamed slot "P1" to "P10".
void FillDefaultProfileNames();
// Shows the slots and scroll keys of the profile state in the window, when it is open.
void RefreshProfileWindow();
// Lets the user pick the macro file of a slot with the Open dialog, then switches to the slot.
void PickMacroForSlot(int slot);
