// The interface thread's one message loop.
#pragma once

// Runs until WM_QUIT and returns its exit code. Each time the thread's queue runs empty it says so
// in `app.interfaceQueueDrains`, and while it waits for messages `app.interfaceWaiting` is set: the
// playback rests while the window lags behind the input it injects.
int RunMessageLoop();
