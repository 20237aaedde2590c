// The save and load commands: file names, the overwrite question, the Open dialog, and carrying a
// read file into the running program and its controls. The file text itself is storage/MacroFile.cpp.
#include "storage/MacroFiles_win.h"

#include "core/AppState.h"
#include "app/ControlTable.h"
#include "app/WindowText_win.h"
#include "input/KeyboardHook_win.h"
#include "macro/EventList.h"
#include "macro/EventList_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "ui/windows/Overlay_win.h"
#include "macro/Undo.h"

#include <commdlg.h>

namespace {

// The output box holds at most 254 characters; the buffer counts the terminating null.
constexpr int OUTPUT_TEXT_LIMIT = 255;

constexpr wchar_t OVERWRITE_CAPTION[] = L"Overwrite existing macro?";
constexpr wchar_t OVERWRITE_TEXT[] = L"A macro with this name already exists.\n"
                                     L"Saving will replace its saved setup and events.\n\n"
                                     L"Do you want to overwrite it?";
constexpr wchar_t SAVE_FAILED_CAPTION[] = L"Save failed";

// A user who saw no message would take the macro for saved.
void ReportFailedSave(HWND owner, const std::wstring& path) {
    DWORD error = GetLastError();
    wchar_t* reason = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
    std::wstring text = L"The macro could not be saved to\n" + path + L"\n\n";
    if (reason) {
        text += reason;
        LocalFree(reason);
    } else {
        text += L"Error " + std::to_wstring(error);
    }
    MessageBoxW(owner, text.c_str(), SAVE_FAILED_CAPTION, MB_OK | MB_ICONERROR);
}

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
    ReplaceEvents(std::move(contents.events));
}

int RadioForMode(int32_t mode, int first) {
    return mode == 1 || mode == 2 ? first + mode : first;
}

// `fromDialog` adds the speed edit and the hold-off key: a profile key loads a macro without
// disturbing what the user is typing there.
void RefreshMainWindowAfterLoad(const std::wstring& outputName, bool fromDialog) {
    const wchar_t* master = app.masterEnabled ? L"ON" : L"OFF";
    SetControlText(app.masterLabel, master);
    ShowOverlaySwitchState();
    if (app.deviceCombo) {
        LRESULT count = SendMessageW(app.deviceCombo, CB_GETCOUNT, 0, 0);
        if (app.deviceIndex >= 0 && app.deviceIndex < count)
            SendMessageW(app.deviceCombo, CB_SETCURSEL, static_cast<WPARAM>(app.deviceIndex), 0);
    }
    SetControlText(app.outputEdit, outputName);
    if (fromDialog) SetControlText(app.speedEdit, FormatSpeed(app.speed));
    if (app.mainWindow) {
        CheckRadioInRange(app.mainWindow, ID_ONCE, ID_HOLD, RadioForMode(app.playMode, ID_ONCE));
        SetControlText(app.loopCountEdit, LoopCountText(app.loopCount));
        CheckRadioInRange(app.mainWindow, ID_FREE_MOUSE, ID_LOCK_MOUSE,
                          RadioForMode(app.mouseMode, ID_FREE_MOUSE));
    }
    ShowHotkeyText(app.recordHotkeyEdit, app.recordHotkey);
    ShowHotkeyText(app.playHotkeyEdit, app.playHotkey);
    if (fromDialog) ShowHotkeyText(app.holdOffHotkeyEdit, app.holdOffHotkey);
    RebuildEventList();
}

} // namespace

bool ReadMacroBytesAt(const std::wstring& path, std::string& bytes) {
    return FileStartsWithOneOf(path, {MACRO_MAGIC}) && ReadWholeFile(path, bytes);
}

void TakeOverMacro(MacroFileContents& contents, bool fromDialog) {
    TakeOverContents(contents);
    RefreshMainWindowAfterLoad(contents.outputName, fromDialog);
}

bool SaveMacroByName(HWND owner) {
    CreateFixedFolders();
    std::wstring path =
        MacroPathForName(MacroFileNameFromOutput(ReadControlText(app.outputEdit, OUTPUT_TEXT_LIMIT)));
    if (PathExists(path) && MessageBoxW(owner, OVERWRITE_TEXT, OVERWRITE_CAPTION,
                                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return false;
    // Read again: the box may have changed while the question was open.
    std::string bytes = WriteMacroFile(app, ReadControlText(app.outputEdit, OUTPUT_TEXT_LIMIT));
    if (WriteFileAtomically(path, bytes)) return true;
    ReportFailedSave(owner, path);
    return false;
}

bool LoadMacroWithDialog(HWND owner) {
    CreateFixedFolders();
    wchar_t file[MAX_PATH] = {};
    std::wstring initialFolder(MACRO_FOLDER);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = L"Korva Macro Files (*.kmc)\0*.kmc\0All Files (*.*)\0*.*\0";
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = initialFolder.c_str();
    dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    if (!GetOpenFileNameW(&dialog)) return false;
    // Macros are loaded from the macro folder only.
    std::wstring path = file;
    if (!HasPrefixIgnoringCase(path, MACRO_FOLDER)) return false;
    std::string bytes;
    MacroFileContents contents = MacroFileStartValues(app);
    if (!ReadMacroBytesAt(path, bytes) || !ReadMacroFile(bytes, contents)) return false;
    TakeOverMacro(contents, true);
    return true;
}

bool OpenMacroFile(HWND owner, const std::wstring& path) {
    CreateFixedFolders();
    std::string bytes;
    MacroFileContents contents = MacroFileStartValues(app);
    if (!path.empty() && ReadMacroBytesAt(path, bytes) && ReadMacroFile(bytes, contents)) {
        TakeOverMacro(contents, true);
        // "Save" then keeps it in the macro folder under the name it was opened by.
        SetControlText(app.outputEdit, OutputNameFromPath(path));
        return true;
    }
    std::wstring text = L"The macro file could not be opened:\n" + path +
                        L"\n\nIt is missing, unreadable or not a KorvaMacro macro file.";
    MessageBoxW(owner, text.c_str(), L"Cannot open macro", MB_OK | MB_ICONWARNING);
    return false;
}
