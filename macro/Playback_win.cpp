// Starting playback and tidying up after it.
#include "macro/Playback_win.h"

#include "app/AppState.h"
#include "app/WindowText_win.h"

void StartPlayback(HWND) {}

void OnPlaybackDone() {
    app.playing = false;
    app.stopRequested = false;
    ClipCursor(nullptr);
    if (app.playbackThread) {
        CloseHandle(app.playbackThread);
        app.playbackThread = nullptr;
    }
    SetControlText(app.playButton, L"Play");
    if (app.overlayPlayLabel) {
        SetWindowTextW(app.overlayPlayLabel, L"NO PLAY");
        InvalidateRect(app.overlayPlayLabel, nullptr, TRUE);
    }
}
