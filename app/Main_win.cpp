// Entry point: the hand-over to a running copy, folders, the timer resolution, the main window,
// the macro file named on the command line, then the message loop.
#include "core/AppState.h"
#include "app/CommandLine.h"
#include "app/MainWindow_win.h"
#include "app/MessageLoop_win.h"
#include "macro/PlaybackSystem_win.h"
#include "macro/Playback_win.h"
#include "app/SingleInstance_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFiles_win.h"
#include "ui/theme/Theme_win.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int showCommand) {
    std::wstring openPath = PathFromCommandLine(commandLine ? commandLine : L"");
    if (HandOverToRunningProgram(openPath)) return 0;
    CreateFixedFolders();
    RemoveLeftoverTemporaryFiles(MACRO_FOLDER);
    RemoveLeftoverTemporaryFiles(PROFILE_FOLDER);
    KeepTimerResolution();
    if (!RegisterMainWindowClass(instance)) return 0;
    HWND window = CreateMainWindow(instance);
    if (!window) return 0;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    if (std::wstring notice = TakeUnsavedMacroNotice(); !notice.empty())
        MessageBoxW(window, notice.c_str(), UNSAVED_MACRO_CAPTION, MB_OK | MB_ICONINFORMATION);
    if (!openPath.empty()) {
        app.pendingOpenPath = openPath;
        PostMessageW(window, WM_APP_OPEN_MACRO, 0, 0);
    }

    int exitCode = RunMessageLoop();
    EndProcessIfWorkerRuns(exitCode, [](unsigned code) { TerminateProcess(GetCurrentProcess(), code); });
    return exitCode;
}
