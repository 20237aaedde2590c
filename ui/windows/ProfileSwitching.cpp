// Slot cycling, trigger matching, the macro path of a slot and the profile label texts.
#include "ui/windows/ProfileSwitching.h"

#include "storage/Folders.h"

namespace {

bool IsEnabledSlot(const ProfileSlots& slots, int slot) {
    return slots[static_cast<size_t>(slot)].enabled;
}

// The first enabled slot going from `first` by `step` until the end of the table; -1 for none.
int ScanEnabled(const ProfileSlots& slots, int first, int step) {
    for (int slot = first; slot >= 0 && slot < PROFILE_SLOT_COUNT; slot += step) {
        if (IsEnabledSlot(slots, slot)) return slot;
    }
    return -1;
}

std::wstring ShownName(const std::wstring& name) {
    return name.empty() ? L"(unnamed)" : name;
}

} // namespace

int NextEnabledSlot(const ProfileSlots& slots, int active) {
    int found = ScanEnabled(slots, active < 0 ? 0 : active + 1, 1);
    return found >= 0 ? found : ScanEnabled(slots, 0, 1);
}

int PreviousEnabledSlot(const ProfileSlots& slots, int active) {
    int found = ScanEnabled(slots, active < 0 ? PROFILE_SLOT_COUNT - 1 : active - 1, -1);
    return found >= 0 ? found : ScanEnabled(slots, PROFILE_SLOT_COUNT - 1, -1);
}

int TriggeredSlot(const ProfileSlots& slots, uint32_t vk) {
    for (int slot = 0; slot < PROFILE_SLOT_COUNT; ++slot) {
        const ProfileSlot& candidate = slots[static_cast<size_t>(slot)];
        if (candidate.enabled && MatchesKey(candidate.trigger, vk)) return slot;
    }
    return -1;
}

std::wstring SlotMacroPath(const std::wstring& mappedPath, const std::wstring& name) {
    if (!mappedPath.empty()) return mappedPath;
    if (name.empty()) return {};
    // The name goes in as it is: a slot named after a file finds exactly that file.
    return MacroPathForName(name);
}

std::wstring ProfileNameFromPath(std::wstring_view path) {
    size_t slash = path.find_last_of(L"\\/");
    std::wstring_view fileName = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    return std::wstring(fileName.substr(0, fileName.find(L'.')));
}

std::wstring SlotNumberText(int slot) {
    return L"P" + std::to_wstring(slot + 1);
}

std::wstring ProfileLabelText(int slot, const std::wstring& name) {
    return SlotNumberText(slot) + L" - " + ShownName(name);
}

std::wstring ActiveProfileLabelText(const std::wstring& name) {
    return L"Active profile: " + ShownName(name);
}
