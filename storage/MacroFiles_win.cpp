// The save and load commands: file names, the overwrite question, the Open dialog, and carrying a
// read file into the running program and its controls. The file text itself is storage/MacroFile.cpp.
#include "storage/MacroFiles_win.h"

#include "core/AppState.h"
#include "ui/windows/WindowText_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "ui/windows/FileDialog_win.h"
#include "ui/windows/MainWindowRefresh_win.h"

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

} // namespace

bool ReadMacroBytesAt(const std::wstring& path, std::string& bytes) {
    return FileStartsWithOneOf(path, {MACRO_MAGIC}) && ReadWholeFile(path, bytes);
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
    std::wstring path;
    if (!AskForFilePath(owner, MACRO_FILTER, MACRO_FOLDER, path)) return false;
    // Macros are loaded from the macro folder only.
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
