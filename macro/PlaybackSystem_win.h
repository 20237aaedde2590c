// What playback needs from newer versions of Windows, each resolved at run time so that the program
// still starts on older ones: the per-monitor DPI context, the integrity check of the foreground
// window, the timer resolution and the high-resolution timer.
#pragma once

#include "core/MacroRecords.h"

#include <windows.h>

#include <optional>

// Process-wide: the 1 ms timer resolution, kept also while the windows are hidden.
void KeepTimerResolution();
// About one millisecond on the high-resolution timer where there is one, else Sleep(1).
void WaitAboutOneMs();
// Whether the foreground window belongs to a process of higher integrity (an administrator window).
bool ForegroundRunsAboveUs();

using SetThreadDpiContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

// The program declares no DPI awareness, so on a scaled display Windows scales the cursor calls
// for it while raw input and relative SendInput stay in device pixels. Playback's cursor calls are
// made per-monitor aware for as long as this lives, so every mouse mode moves physical pixels.
class PhysicalPixels {
  public:
    PhysicalPixels();
    ~PhysicalPixels();
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;

  private:
    SetThreadDpiContext set;
    DPI_AWARENESS_CONTEXT previous = nullptr;
};

// The cursor's position in physical pixels of the virtual screen, as playback sets it; none when
// the system cannot tell (another desktop is up).
std::optional<ScreenPoint> PhysicalCursorPos();
