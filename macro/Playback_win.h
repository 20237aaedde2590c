// The playback thread's Win32 side: starting it, the real injection calls and its end message.
#pragma once

#include <windows.h>

constexpr UINT WM_APP_PLAYBACK_DONE = WM_APP + 1;

void StartPlayback(HWND mainWindowHandle);
void OnPlaybackDone();
