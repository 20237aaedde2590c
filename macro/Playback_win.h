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
// Stops a running playback and waits (at most PLAYBACK_EXIT_WAIT_MS) for its thread to release
// what it pressed, then frees the cursor: the process must not end with a button held down.
constexpr DWORD PLAYBACK_EXIT_WAIT_MS = 2000;
void StopPlaybackBeforeExit();
