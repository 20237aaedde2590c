// Playback timing with the program's own Win32 clock and waits (QueryPerformanceCounter, the
// high-resolution waitable timer where the system has one), against plain Sleep(1) at a 1 ms timer
// resolution; run under Wine. No input is sent.
#include "bench/playback_timing.h"
#include "macro/PlaybackSystem_win.h"
#include "macro/Playback_win.h"

#include <mmsystem.h>

int main() {
    KeepTimerResolution();
    PlaybackIo sleeps = SystemPlaybackIo();
    sleeps.sleepOneMs = [] { Sleep(1); };
    RunTimingBench("Win32, Sleep(1)", sleeps);
    RunTimingBench("Win32, the program's waits", SystemPlaybackIo());
    timeEndPeriod(1);
    return 0;
}
