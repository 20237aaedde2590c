// The recording switch: button text, overlay label, the list emptied and rebuilt.
#include "macro/Recorder_win.h"

#include "core/AppState.h"
#include "ui/windows/WindowText_win.h"
#include "macro/EventList_win.h"
#include "macro/PlaybackSystem_win.h"

namespace {

void ShowRecordingInOverlay() {
    if (!app.overlayRecLabel) return;
    SetWindowTextW(app.overlayRecLabel, app.recording ? L"REC" : L"NO REC");
    // The overlay picks the label's colour from `recording` when it repaints.
    InvalidateRect(app.overlayRecLabel, nullptr, TRUE);
}

void StartRecording() {
    BeginRecording();
    app.macroStartPos = PhysicalCursorPos(); // where a ScreenMouse replay starts
    ShowRecordingInOverlay();
    SetControlText(app.recordButton, L"Stop");
    if (app.eventList) SendMessageW(app.eventList, LB_RESETCONTENT, 0, 0);
}

void FinishRecording() {
    EndRecording();
    ShowRecordingInOverlay();
    SetControlText(app.recordButton, L"Record");
    RebuildEventList();
}

// A mouse click on a button (rather than the space bar) was recorded up to its release.
void DropClickOn(HWND button) {
    POINT cursor{};
    if (button && GetCursorPos(&cursor) && WindowFromPoint(cursor) == button)
        DropEventsFromLastPress(BUTTON_PRESS_FLAGS[0]);
}

} // namespace

void ToggleRecording() {
    if (!app.masterEnabled || !app.holdStateOn) return;
    if (app.recording)
        FinishRecording();
    else if (!app.playing) // a new recording would replace the macro being played
        StartRecording();
}

void ToggleRecordingFromButton() {
    if (app.recording) DropClickOn(app.recordButton);
    ToggleRecording();
}

void StopRecording() {
    if (app.recording) FinishRecording();
}

void StopRecordingForCommandOf(WindowHandle button) {
    if (!app.recording) return;
    DropClickOn(button);
    FinishRecording();
}
