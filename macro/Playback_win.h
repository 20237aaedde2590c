// The playback thread's Win32 side: starting it, the real injection calls and its end message.
#pragma once

#include "macro/Playback.h"

#include <windows.h>

constexpr UINT WM_APP_PLAYBACK_DONE = WM_APP + 1;

// What the main window's status line says when Windows hinders a playback.
constexpr wchar_t INPUT_REFUSED_TEXT[] =
    L"Playback stopped: Windows refused the input (lock screen or UAC prompt)";
constexpr wchar_t ELEVATED_WINDOW_TEXT[] =
    L"The active window runs as administrator: Windows blocks replayed input to it unless KorvaMacro runs as "
    L"administrator too";
constexpr wchar_t POSITION_CLAMPED_TEXT[] =
    L"A recorded click lies outside every monitor now: it was played on the nearest one";

// The real system calls: SendInput, the cursor, the 1 ms wait, the performance counter.
PlaybackIo SystemPlaybackIo();
// Starts the playback worker if it is not running; whether it runs. StartPlayback does this too;
// starting it with the window makes even the first playback start on a thread ready for input.
bool EnsurePlaybackWorker();
void StartPlayback();
// Puts the pass being played on the overlay ("PLAY 3/10") when it changed; the playback thread
// only counts, so the main window's timer calls this.
constexpr int PLAY_LABEL_TEXT_LIMIT = 32;
void ShowPlaybackPass();
void OnPlaybackDone();
// Shows on the status line, once per playback, that recorded positions had to be moved onto a monitor.
void ShowPlaybackNotice();
// Stops a running playback and ends the worker, waiting at most PLAYBACK_EXIT_WAIT_MS for it to
// release what it pressed, then frees the cursor: the process must not end with a button held down.
// False when the worker still runs then; its thread handle stays in `app.playbackThread`.
constexpr DWORD PLAYBACK_EXIT_WAIT_MS = 2000;
bool StopPlaybackBeforeExit();
// After the message loop. A worker that has not ended may still read the macro and the state
// record, which the process's destructors would free under it: then `endProcess` ends the
// process with `exitCode` at once, without them. Returns otherwise.
void EndProcessIfWorkerRuns(int exitCode, void (*endProcess)(unsigned exitCode));
