// The playback thread's Win32 side: starting it, the real injection calls and its end message.
#pragma once

#include "macro/Playback.h"

#include <windows.h>

constexpr UINT WM_APP_PLAYBACK_DONE = WM_APP + 1;

// The real system calls: SendInput, the cursor, Sleep(1), the performance counter.
PlaybackIo SystemPlaybackIo();
DWORD WINAPI PlaybackThreadProc(LPVOID mainWindowHandle);
void StartPlayback(HWND mainWindowHandle);
void OnPlaybackDone();
