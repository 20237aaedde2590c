// Writing and reading profile files on top of the text conventions the macro file uses.
#include "storage/ProfileFile.h"

#include "core/AppState.h"
#include "storage/Folders.h"
#include "storage/TextCodec.h"

namespace {

// Free text (names, paths) must stay on its own line: a line break inside it would cut the line
// and turn the rest into a line of its own, so it is stored as '?' like any other unstorable
// character.
std::string EncodeField(std::wstring_view text) {
    std::string bytes = EncodeLatin1(text);
    for (char& c : bytes) {
        if (c == '\r' || c == '\n') c = '?';
    }
    return bytes;
}

std::string BindingText(HotkeyBinding binding) {
    return std::to_string(binding.kind) + " " + std::to_string(binding.code);
}

bool IsProfileMagic(std::string_view line) {
    return line == PROFILE_MAGIC_V1 || line == PROFILE_MAGIC_V2 || line == PROFILE_MAGIC_V3;
}

// A slot index from a file; every negative value is out of range as well, taken as unsigned.
bool IsSlotIndex(int32_t index) {
    return static_cast<uint32_t>(index) < PROFILE_SLOT_COUNT;
}

// Numbers are read in order until the first one that is missing or malformed; that one and all
// after it stay 0, and the free text after them is then empty.
void ReadSlotLine(std::string_view line, size_t position, ProfileContents& profile) {
    int32_t index = 0, enabled = 0, kind = 0;
    uint32_t code = 0;
    bool complete = ReadInt32(line, position, index) && ReadInt32(line, position, enabled) &&
                    ReadInt32(line, position, kind) && ReadUint32(line, position, code);
    if (!IsSlotIndex(index)) return;
    ProfileSlot& slot = profile.slots[static_cast<size_t>(index)];
    slot.enabled = enabled != 0;
    slot.trigger = {kind, code};
    slot.name = complete ? DecodeLatin1(RestAfterOneBlank(line, position)) : std::wstring();
}

// Only drive-letter paths are followed: opening a file on another machine hands it the user's
// sign-in credentials, silently, a device or pipe may never answer, and a profile file may come
// from anyone. Otherwise the slot falls back to the macro folder's file of its name.
void ReadPathLine(std::string_view line, size_t position, ProfileContents& profile) {
    int32_t index = 0;
    bool complete = ReadInt32(line, position, index);
    if (!IsSlotIndex(index)) return;
    std::wstring path = complete ? DecodeLatin1(RestAfterOneBlank(line, position)) : std::wstring();
    if (!IsDriveLetterPath(path)) path.clear();
    profile.paths[static_cast<size_t>(index)] = path;
}

HotkeyBinding ReadBinding(std::string_view line, size_t position) {
    HotkeyBinding binding;
    if (ReadInt32(line, position, binding.kind)) ReadUint32(line, position, binding.code);
    return binding;
}

} // namespace

std::string WriteProfileFile(const ProfileContents& profile) {
    std::string out;
    AppendLine(out, PROFILE_MAGIC_V3);
    AppendLine(out, "PROFILE_COUNT " + std::to_string(PROFILE_SLOT_COUNT));
    for (size_t i = 0; i < PROFILE_SLOT_COUNT; ++i) {
        const ProfileSlot& slot = profile.slots[i];
        std::string index = std::to_string(i);
        AppendLine(out, "P " + index + " " + (slot.enabled ? "1 " : "0 ") + BindingText(slot.trigger) + " " +
                            EncodeField(slot.name));
        AppendLine(out, "MAP " + index + " " + EncodeField(profile.paths[i]));
    }
    AppendLine(out, "SCROLL_PREV " + BindingText(profile.scrollPrev));
    AppendLine(out, "SCROLL_NEXT " + BindingText(profile.scrollNext));
    return out;
}

bool ReadProfileFile(std::string_view bytes, ProfileContents& profile) {
    LineCursor cursor{bytes};
    std::string_view line;
    if (!NextLine(cursor, line) || !IsProfileMagic(line)) return false;
    // The count line: the slot count is fixed, so whatever stands there is not used.
    NextLine(cursor, line);
    while (NextLine(cursor, line)) {
        if (line.empty()) continue;
        size_t afterWord = 0;
        std::string_view keyword = FirstWord(line, afterWord);
        if (keyword == "P")
            ReadSlotLine(line, afterWord, profile);
        else if (keyword == "MAP")
            ReadPathLine(line, afterWord, profile);
        else if (keyword == "SCROLL_PREV")
            profile.scrollPrev = ReadBinding(line, afterWord);
        else if (keyword == "SCROLL_NEXT")
            profile.scrollNext = ReadBinding(line, afterWord);
    }
    return true;
}

ProfileContents CurrentProfile() {
    ProfileContents profile;
    profile.slots = app.profileSlots;
    profile.paths = app.profileMacroPaths;
    profile.scrollPrev = app.scrollPrevHotkey;
    profile.scrollNext = app.scrollNextHotkey;
    return profile;
}

void ApplyProfile(const ProfileContents& profile) {
    app.profileSlots = profile.slots;
    app.profileMacroPaths = profile.paths;
    app.scrollPrevHotkey = profile.scrollPrev;
    app.scrollNextHotkey = profile.scrollNext;
}
