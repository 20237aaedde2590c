// The common dialog set-up shared by the macro and profile file commands.
#include "ui/windows/FileDialog_win.h"

#include <commdlg.h>

bool AskForFilePath(HWND owner, const wchar_t* filter, std::wstring_view folder, std::wstring& path,
                    const wchar_t* saveExtension) {
    wchar_t buffer[MAX_PATH] = {};
    std::wstring initialFolder(folder);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = initialFolder.c_str();
    if (saveExtension) {
        dialog.Flags = OFN_OVERWRITEPROMPT;
        dialog.lpstrDefExt = saveExtension;
    } else {
        dialog.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    }
    BOOL chosen = saveExtension ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen) return false;
    path = buffer;
    return true;
}
