// Entry point: folders, the 1 ms timer resolution, the main window and the one message loop.
#include "app/AppState.h"
#include "app/MainWindow_win.h"
#include "macro/PlaybackSystem_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "ui/theme/Theme_win.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    CreateFixedFolders();
    RemoveLeftoverTemporaryFiles(MACRO_FOLDER);
    RemoveLeftoverTemporaryFiles(PROFILE_FOLDER);
    KeepTimerResolution();
    if (!RegisterMainWindowClass(instance)) return 0;
    HWND window = CreateMainWindow(instance);
    if (!window) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);

    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
