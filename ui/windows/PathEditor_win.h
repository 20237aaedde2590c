// The mouse path editor window: opening it, its window procedure, painting and the Apply command.
#pragma once

#include <windows.h>

enum PathEditorControlId : int {
    ID_PATH_APPLY = 9001,
    ID_PATH_CLOSE = 9002,
    ID_PATH_CLEAR = 9003,
};

// Rebuilds the path from the macro and shows it in the editor, creating the editor if needed.
void OpenPathEditor();
LRESULT CALLBACK PathEditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Fits the view to the editor's free area between its header texts and buttons; false when there
// is nothing to draw.
bool FitPathView(HWND window);
// Draws the background, and in the free area the path, the selection marks and the playback dot,
// into `dc` (the paint handler's DC, or a memory DC).
void PaintPathEditor(HWND window, HDC dc);
// Writes the edited path into the macro's Move events and refreshes the event list.
void ApplyPath();
