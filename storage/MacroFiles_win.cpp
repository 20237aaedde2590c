// The save and load commands: file names, the overwrite question, the Open dialog, and carrying a
// read file into the running program and its controls. The file text itself is storage/MacroFile.cpp.
#include "storage/MacroFiles_win.h"

#include "core/AppState.h"
#include "app/ControlTable.h"
#include "app/WindowText_win.h"
#include "input/KeyboardHook_win.h"
#include "macro/EventList_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "ui/windows/Overlay_win.h"
#include "macro/Undo.h"

#include <commdlg.h>

#include <new>

namespace {

// The output box holds at most 254 characters; the buffer counts the terminating null.
constexpr int OUTPUT_TEXT_LIMIT = 255;

constexpr wchar_t OVERWRITE_CAPTION[] = L"Overwrite existing macro?";
constexpr wchar_t OVERWRITE_TEXT[] = L"A macro with this name already exists.\n"
                                     L"Saving will replace its saved setup and events.\n\n"
                                     L"Do you want to overwrite it?";
constexpr wchar_t SAVE_FAILED_CAPTION[] = L"Save failed";

constexpr wchar_t CANNOT_OPEN_CAPTION[] = L"Cannot open macro";

// A user who saw no message would take the macro for saved.
void ReportFailedSave(HWND owner, const std::wstring& path) {
    std::wstring text = L"The macro could not be saved to\n" + path + L"\n\n" + FileErrorText(GetLastError());
    MessageBoxW(owner, text.c_str(), SAVE_FAILED_CAPTION, MB_OK | MB_ICONERROR);
}

// The same box for every way a macro file is opened, so that a failed load is never silent.
void ReportUnopenedMacro(HWND owner, const std::wstring& path, DWORD error) {
    static_assert(MACRO_FILE_MAX_BYTES == size_t{256} << 20, "the message names the limit");
    std::wstring reason = FileErrorText(error);
    if (error == ERROR_BAD_FORMAT)
        reason = L"It is not a KorvaMacro macro file: its first line is not KORVAMACRO_V1.";
    if (error == ERROR_FILE_TOO_LARGE) reason = L"It is larger than 256 MB, the most a macro file may hold.";
    std::wstring text = L"The macro file could not be opened:\n" + path + L"\n\n" + reason;
    MessageBoxW(owner, text.c_str(), CANNOT_OPEN_CAPTION, MB_OK | MB_ICONWARNING);
}

void TakeOverContents(MacroFileContents& contents) {
    app.playMode = contents.playMode;
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
        CheckRadioInRange(app.mainWindow, ID_FREE_MOUSE, ID_LOCK_MOUSE,
                          RadioForMode(app.mouseMode, ID_FREE_MOUSE));
    }
    ShowHotkeyText(app.recordHotkeyEdit, app.recordHotkey);
    ShowHotkeyText(app.playHotkeyEdit, app.playHotkey);
    if (fromDialog) ShowHotkeyText(app.holdOffHotkeyEdit, app.holdOffHotkey);
    RebuildEventList();
}

} // namespace

bool ReadMacroAt(const std::wstring& path, MacroFileContents& contents, std::string* header) {
    // A file near the limit needs several times its size once parsed; a machine short of that
    // memory refuses the load instead of ending the program (maybe inside the keyboard hook).
    try {
        std::string bytes;
        if (!FileStartsWithOneOf(path, {MACRO_MAGIC}) || !ReadWholeFile(path, bytes, MACRO_FILE_MAX_BYTES))
            return false;
        if (!ReadMacroFile(bytes, contents)) {
            SetLastError(ERROR_BAD_FORMAT);
            return false;
        }
        if (header) header->assign(bytes, 0, contents.headerLength);
        return true;
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
}

void TakeOverMacro(MacroFileContents& contents, bool fromDialog) {
    TakeOverContents(contents);
    RefreshMainWindowAfterLoad(contents.outputName, fromDialog);
}

bool SaveMacroByName(HWND owner) {
    CreateFixedFolders();
    std::wstring output = ReadControlText(app.outputEdit, OUTPUT_TEXT_LIMIT);
    std::wstring path = MacroPathForName(MacroFileNameFromOutput(output));
    // The text is made before the question: while it is open the hook and posted messages still
    // run, and a profile key or a handed-over file may replace the macro and its name meanwhile.
    std::string bytes = WriteMacroFile(app, output);
    if (PathExists(path) && MessageBoxW(owner, OVERWRITE_TEXT, OVERWRITE_CAPTION,
                                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return false;
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
    // The user picked this file, wherever it lies; its OUTPUT line names the macro as before.
    MacroFileContents contents = MacroFileStartValues(app);
    if (!ReadMacroAt(file, contents)) {
        ReportUnopenedMacro(owner, file, GetLastError());
        return false;
    }
    TakeOverMacro(contents, true);
    return true;
}

bool OpenMacroFile(HWND owner, const std::wstring& path) {
    CreateFixedFolders();
    MacroFileContents contents = MacroFileStartValues(app);
    // A handed-over path comes from whatever program started this one: a share, a pipe or a
    // device could stall the window for long or forever, and is not opened.
    std::wstring local = LocalFilePath(path);
    if (local.empty()) SetLastError(ERROR_BAD_NETPATH);
    if (local.empty() || !ReadMacroAt(local, contents)) {
        ReportUnopenedMacro(owner, path, GetLastError());
        return false;
    }
    TakeOverMacro(contents, true);
    // "Save" then keeps it in the macro folder under the name it was opened by.
    SetControlText(app.outputEdit, OutputNameFromPath(local));
    return true;
}
