// File stamps, the slot load a profile key makes and the making of ready copies. A ready slot's
// switch costs one attribute query, a header parse and a swap, whatever the macro's length.
#include "storage/ReadyMacros_win.h"

#include "core/AppState.h"
#include "storage/MacroFile.h"
#include "storage/MacroFiles_win.h"
#include "storage/ReadyMacros.h"
#include "ui/windows/MainWindowRefresh_win.h"
#include "ui/windows/ProfileSwitching.h"

#include <new>

namespace {

bool ReadFileStamp(const std::wstring& path, FileStamp& stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    stamp.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    stamp.writeTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
    return true;
}

void PrepareSlot(size_t slot) {
    ReadyMacro& macro = app.readyMacros[slot];
    const ProfileSlot& profile = app.profileSlots[slot];
    std::wstring path = profile.enabled ? SlotMacroPath(app.profileMacroPaths[slot], profile.name) : L"";
    FileStamp stamp;
    if (path.empty() || !ReadFileStamp(path, stamp)) {
        macro = {};
        return;
    }
    bool fresh = macro.path == path && macro.stamp == stamp;
    // A file over the budget stays so until it changes; reading it again after every switch
    // would cost as much as the switch that read it.
    if (fresh && (macro.ready || macro.overBudget)) return;
    // The macro a switch just put in is the file's, unless something has been appended since:
    // copying it is far cheaper than reading the file again.
    bool refill = fresh && macro.refillPending && static_cast<int32_t>(slot) == app.activeProfile &&
                  !app.recording && app.events.size() == macro.refillCount;
    std::string header = macro.header;
    macro = {};
    try {
        if (refill) {
            KeepReadyMacro(slot, path, stamp, header, app.events);
            return;
        }
        MacroFileContents contents = MacroFileStartValues(app);
        if (ReadMacroAt(path, contents, &header))
            KeepReadyMacro(slot, path, stamp, header, std::move(contents.events));
    } catch (const std::bad_alloc&) {
        macro = {}; // the slot is read at its switch, as one over the budget
    }
}

} // namespace

bool LoadSlotMacro(int slot, const std::wstring& path) {
    if (slot < 0 || slot >= PROFILE_SLOT_COUNT) return false;
    size_t i = static_cast<size_t>(slot);
    FileStamp stamp;
    if (!ReadFileStamp(path, stamp)) return false;
    MacroFileContents contents = MacroFileStartValues(app);
    ReadyMacro& macro = app.readyMacros[i];
    if (!TakeReadyMacro(i, path, stamp, contents)) {
        std::string header;
        if (!ReadMacroAt(path, contents, &header)) return false;
        bool overBudget = macro.overBudget && macro.path == path && macro.stamp == stamp;
        macro = {};
        macro.path = path;
        macro.stamp = stamp;
        macro.header = std::move(header);
        macro.overBudget = overBudget;
    }
    // The replaced macro moves into the undo history, so the hook gives back no memory here.
    TakeOverMacro(contents);
    macro.refillPending = true;
    macro.refillCount = app.events.size();
    if (app.mainWindow) PostMessageW(app.mainWindow, WM_APP_PREPARE_READY_MACROS, 0, 0);
    return true;
}

void PrepareReadyMacros() {
    for (size_t slot = 0; slot < PROFILE_SLOT_COUNT; ++slot)
        PrepareSlot(slot);
}
