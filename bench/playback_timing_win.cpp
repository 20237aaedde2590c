// Playback timing with the program's own Win32 clock and sleeps (QueryPerformanceCounter,
// Sleep(1) at a 1 ms timer resolution), run under Wine; no input is sent.
#include "bench/playback_timing.h"
#include "macro/Playback_win.h"

#include <mmsystem.h>

int main() {
    timeBeginPeriod(1);
    RunTimingBench("Win32", SystemPlaybackIo());
    timeEndPeriod(1);
    return 0;
}
