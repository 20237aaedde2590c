// The profile file commands of the profile window: the dialogs, the folder test, the atomic save,
// and carrying a read file into the program.
#include "storage/ProfileFiles_win.h"

#include "core/AppState.h"
#include "ui/windows/WindowText_win.h"
#include "storage/FileIo_win.h"
#include "storage/ReadyMacros_win.h"
#include "storage/Folders.h"
#include "storage/ProfileFile.h"
#include "ui/windows/FileDialog_win.h"
#include "ui/windows/ProfileWindow_win.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr wchar_t PROFILE_FILTER[] = L"Korva Profile Files (*.kpf)\0*.kpf\0All Files (*.*)\0*.*\0";

// Shows the Save or Open dialog over the profile folder; false when cancelled.
bool AskForProfilePath(HWND owner, bool saving, std::wstring& path) {
    return AskForFilePath(owner, PROFILE_FILTER, PROFILE_FOLDER, path, saving ? L"kpf" : nullptr);
}

bool IsInProfileFolder(const std::wstring& path) {
    return HasPrefixIgnoringCase(path, PROFILE_FOLDER);
}

bool FitsOneByte(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return static_cast<uint32_t>(c) <= 0xFF; });
}

// A file under a folder such as C:\Users\Иван cannot be named one byte per character; its short
// (8.3) path names the same file in ASCII where the volume keeps short names.
std::wstring OneBytePath(const std::wstring& path) {
    if (FitsOneByte(path)) return path;
    wchar_t shortPath[MAX_PATH] = {};
    DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || !FitsOneByte({shortPath, length})) return path;
    return {shortPath, length};
}

// Why a profile file was refused, for the message box.
std::wstring RefusalReason(const std::wstring& path, DWORD error) {
    static_assert(PROFILE_FILE_MAX_BYTES == 1 << 20, "the message names the limit");
    if (!IsInProfileFolder(path))
        return L"Profiles are loaded from " + std::wstring(PROFILE_FOLDER) + L" only.";
    if (error == ERROR_BAD_FORMAT)
        return L"It is not a KorvaMacro profile file: its first line is not KORVAPROFILE_V1, V2 or V3.";
    if (error == ERROR_FILE_TOO_LARGE) return L"It is larger than 1 MB, the most a profile file may hold.";
    return FileErrorText(error);
}

} // namespace

bool LoadProfileFromPath(const std::wstring& path) {
    if (!IsInProfileFolder(path)) return false;
    if (!FileStartsWithOneOf(path, {PROFILE_MAGIC_V1, PROFILE_MAGIC_V2, PROFILE_MAGIC_V3})) return false;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, PROFILE_FILE_MAX_BYTES)) return false;
    ProfileContents profile = CurrentProfile();
    if (!ReadProfileFile(bytes, profile)) {
        SetLastError(ERROR_BAD_FORMAT);
        return false;
    }
    // A drive letter the file names may be a mapped network share.
    for (std::wstring& macroPath : profile.paths) {
        if (!macroPath.empty() && LocalFilePath(macroPath).empty()) macroPath.clear();
    }
    ApplyProfile(profile);

    RefreshProfileWindow();
    PrepareReadyMacros();
    if (app.activeProfile >= 0 && app.activeProfile < PROFILE_SLOT_COUNT) {
        SwitchToProfile(app.activeProfile);
    } else {
        SetControlText(app.activeProfileLabel, L"Active profile: None");
        SetControlText(app.profileLabel, L"Profile: None");
        SetControlText(app.overlayProfileLabel, L"Profile: None");
    }
    return true;
}

bool SaveProfileToPath(const std::wstring& path) {
    if (!IsInProfileFolder(path)) return false;
    ProfileContents profile = CurrentProfile();
    for (std::wstring& macroPath : profile.paths)
        macroPath = OneBytePath(macroPath);
    return WriteFileAtomically(path, WriteProfileFile(profile));
}

bool SaveProfileFile(HWND owner) {
    CreateFixedFolders();
    std::wstring path;
    if (!AskForProfilePath(owner, true, path)) return false;
    return SaveProfileToPath(path);
}

bool LoadProfileFile(HWND owner) {
    CreateFixedFolders();
    std::wstring path;
    if (!AskForProfilePath(owner, false, path)) return false;
    if (LoadProfileFromPath(path)) return true;
    std::wstring text =
        L"The profile file could not be loaded:\n" + path + L"\n\n" + RefusalReason(path, GetLastError());
    MessageBoxW(owner, text.c_str(), L"Cannot load profile", MB_OK | MB_ICONWARNING);
    return false;
}
