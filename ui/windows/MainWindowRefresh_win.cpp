// Carries a read macro into the program and shows it in the main window's controls.
#include "ui/windows/MainWindowRefresh_win.h"

#include "core/AppState.h"
#include "input/KeyboardHook_win.h"
#include "macro/EventList.h"
#include "macro/EventList_win.h"
#include "macro/Undo.h"
#include "storage/MacroFile.h"
#include "ui/windows/ControlTable.h"
#include "ui/windows/Overlay_win.h"
#include "ui/windows/WindowText_win.h"

namespace {

void TakeOverContents(MacroFileContents& contents) {
    app.playMode = contents.playMode;
    app.loopCount = contents.loopCount;
    app.mouseMode = contents.mouseMode;
    app.deviceIndex = contents.deviceIndex;
    app.recordHotkey = contents.recordHotkey;
    app.playHotkey = contents.playHotkey;
    app.holdOffHotkey = contents.holdOffHotkey;
    app.speed = contents.speed;
    app.masterEnabled = contents.masterEnabled;
    // The replaced macro moves into the undo history; a running playback reads the list under
    // the macro lock, which ReplaceEvents takes.
    ReplaceEvents(std::move(contents.events), ShownMacroNames());
    // After the swap: the replaced macro took its own start into the undo history.
    app.macroStartPos = contents.startPos;
}

// A mode outside the radios, read from a file, shows as the first.
int RadioForMode(int32_t mode, int first, int last) {
    return mode > 0 && mode <= last - first ? first + mode : first;
}

// Every control that shows a loaded setting: a profile switch shows them all, as Add does.
void RefreshMainWindowAfterLoad(const std::wstring& outputName) {
    const wchar_t* master = app.masterEnabled ? L"ON" : L"OFF";
    SetControlText(app.masterLabel, master);
    ShowOverlaySwitchState();
    if (app.deviceCombo) {
        LRESULT count = SendMessageW(app.deviceCombo, CB_GETCOUNT, 0, 0);
        if (app.deviceIndex >= 0 && app.deviceIndex < count)
            SendMessageW(app.deviceCombo, CB_SETCURSEL, static_cast<WPARAM>(app.deviceIndex), 0);
    }
    SetControlText(app.outputEdit, outputName);
    SetControlText(app.speedEdit, FormatSpeed(app.speed));
    if (app.mainWindow) {
        CheckRadioInRange(app.mainWindow, ID_ONCE, ID_HOLD, RadioForMode(app.playMode, ID_ONCE, ID_HOLD));
        SetControlText(app.loopCountEdit, LoopCountText(app.loopCount));
        CheckRadioInRange(app.mainWindow, ID_FREE_MOUSE, ID_SCREEN_MOUSE,
                          RadioForMode(app.mouseMode, ID_FREE_MOUSE, ID_SCREEN_MOUSE));
    }
    ShowHotkeyText(app.recordHotkeyEdit, app.recordHotkey);
    ShowHotkeyText(app.playHotkeyEdit, app.playHotkey);
    ShowHotkeyText(app.holdOffHotkeyEdit, app.holdOffHotkey);
    RebuildEventList();
}

} // namespace

void TakeOverMacro(MacroFileContents& contents) {
    TakeOverContents(contents);
    NoteMacroSaved();
    RefreshMainWindowAfterLoad(contents.outputName);
}
