// The save and load commands: file names, the overwrite question, the Open dialog, and carrying a
// read file into the running program and its controls. The file text itself is storage/MacroFile.cpp.
#include "storage/MacroFiles_win.h"

#include "core/AppState.h"
#include "ui/windows/WindowText_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "macro/Undo.h"
#include "ui/windows/FileDialog_win.h"
#include "ui/windows/MainWindowRefresh_win.h"

#include <new>

#include <cstring>
#include <cwchar>

namespace {

// The output box holds at most 254 characters; the buffer counts the terminating null.
constexpr int OUTPUT_TEXT_LIMIT = 255;

constexpr wchar_t OVERWRITE_CAPTION[] = L"Overwrite existing macro?";
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

bool SaveMacroByName(HWND owner) {
    CreateFixedFolders();
    std::wstring output = ReadControlText(app.outputEdit, OUTPUT_TEXT_LIMIT);
    std::wstring path = MacroPathForName(MacroFileNameFromOutput(output));
    // The text is made before the question: while it is open the hook and posted messages still
    // run, and a profile key or a handed-over file may replace the macro and its name meanwhile.
    std::string bytes = WriteMacroFile(app, output);
    if (PathExists(path) && MessageBoxW(owner, (path + L" exists. Replace it?").c_str(), OVERWRITE_CAPTION,
                                        MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) != IDYES)
        return false;
    if (WriteFileAtomically(path, bytes)) {
        NoteMacroSaved();
        return true;
    }
    ReportFailedSave(owner, path);
    return false;
}

// Where the next start finds the path of a macro kept at a shutdown.
std::wstring UnsavedNoticePath() {
    return std::wstring(ROOT_FOLDER) + L"\\Unsaved macro.txt";
}

bool KeepUnsavedMacro() {
    CreateFixedFolders();
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t stamp[32];
    swprintf(stamp, 32, L"Unsaved %04u-%02u-%02u %02u%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
             now.wMinute);
    // A new file: an earlier one of the same minute stays.
    std::wstring path = MacroPathForName(stamp);
    for (int n = 2; PathExists(path); ++n)
        path = MacroPathForName(std::wstring(stamp) + L" (" + std::to_wstring(n) + L")");
    std::string bytes = WriteMacroFile(app, ReadControlText(app.outputEdit, OUTPUT_TEXT_LIMIT));
    if (!WriteFileAtomically(path, bytes)) return false;
    // The path in UTF-16 as it is, so that any user folder name comes back whole.
    std::string notice(reinterpret_cast<const char*>(path.data()), path.size() * sizeof(wchar_t));
    WriteFileAtomically(UnsavedNoticePath(), notice);
    NoteMacroSaved();
    return true;
}

std::wstring TakeUnsavedMacroNotice() {
    std::string bytes;
    if (!ReadWholeFile(UnsavedNoticePath(), bytes, 4096)) return {};
    DeleteFileW(UnsavedNoticePath().c_str());
    std::wstring path(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(path.data(), bytes.data(), path.size() * sizeof(wchar_t));
    return L"The macro that was not saved when Windows shut down or signed out was kept in\n" + path;
}

bool LoadMacroWithDialog(HWND owner) {
    CreateFixedFolders();
    std::wstring path;
    if (!AskForFilePath(owner, MACRO_FILTER, MACRO_FOLDER, path)) return false;
    // The user picked this file, wherever it lies; its OUTPUT line names the macro as before.
    MacroFileContents contents = MacroFileStartValues(app);
    if (!ReadMacroAt(path, contents)) {
        ReportUnopenedMacro(owner, path, GetLastError());
        return false;
    }
    TakeOverMacro(contents);
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
    TakeOverMacro(contents);
    // "Save" then keeps it in the macro folder under the name it was opened by.
    SetControlText(app.outputEdit, OutputNameFromPath(local));
    return true;
}
