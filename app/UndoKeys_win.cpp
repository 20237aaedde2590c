// The undo and redo keys as the message loop sees them, and the windows refreshed after a step.
// The steps themselves are macro/MacroUndo.cpp.
#include "app/UndoKeys_win.h"

#include "core/AppState.h"
#include "ui/windows/WindowText_win.h"
#include "macro/EventList_win.h"
#include "macro/Undo.h"
#include "ui/windows/PathModel.h"
#include "ui/windows/ProfileSwitching.h"

namespace {

// The main window and its controls take the keys, except edit boxes: there Ctrl+Z is the edit's
// own undo of what was typed.
bool FocusTakesUndoKeys(HWND focus) {
    if (!app.mainWindow || !focus) return false;
    if (focus == app.mainWindow) return true;
    if (!IsChild(app.mainWindow, focus)) return false;
    wchar_t className[16] = {};
    GetClassNameW(focus, className, 16);
    return lstrcmpiW(className, L"Edit") != 0;
}

void ShowRestoredMacro() {
    // The rebuild unticks every row; the step brought its own ticks.
    std::vector<bool> ticks = app.rowTicks;
    RebuildEventList();
    if (ticks.size() == app.rowTicks.size()) app.rowTicks = ticks;
    if (app.eventList) InvalidateRect(app.eventList, nullptr, TRUE);
    // A selection or drag would point into the path that was there before.
    app.pathEdit.selection.clear();
    ResetEditState();
    HWND editor = app.pathEditorWindow.load();
    if (editor) InvalidateRect(editor, nullptr, TRUE);
}

// A step over a load: the Output box and the profile labels name the file of the restored events.
void ShowRestoredNames(const MacroNames& names) {
    SetControlText(app.outputEdit, names.output);
    SetControlText(app.profileLabel, names.profileLabel);
    SetControlText(app.overlayProfileLabel, names.profileLabel);
    app.activeProfile = names.activeProfile;
    bool slot = names.activeProfile >= 0 && names.activeProfile < PROFILE_SLOT_COUNT;
    SetControlText(app.activeProfileLabel,
                   ActiveProfileLabelText(
                       slot ? app.profileSlots[static_cast<size_t>(names.activeProfile)].name : L"None"));
}

} // namespace

bool HandleUndoKeys(const MSG& message) {
    if (message.message != WM_KEYDOWN || !FocusTakesUndoKeys(message.hwnd)) return false;
    UndoKeyAction action = UndoKeyFor(static_cast<uint32_t>(message.wParam), GetKeyState(VK_CONTROL) < 0,
                                      GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_MENU) < 0);
    if (action == NoUndoKey) return false;
    MacroNames shown = ShownMacroNames();
    shown.kept = false;
    bool stepped = action == UndoKey ? UndoMacroChange(&shown) : RedoMacroChange(&shown);
    if (stepped) ShowRestoredMacro();
    if (stepped && shown.kept) ShowRestoredNames(shown);
    return true;
}
