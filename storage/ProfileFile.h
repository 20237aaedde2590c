// The profile file: ten slots with their macro paths and the two scroll keys, as one-byte text.
// Version 3 is written; versions 1 to 3 are read with the same rules and merged into what is
// already there. Portable.
#pragma once

#include "core/ProfileRecords.h"

#include <array>
#include <string>
#include <string_view>

constexpr std::string_view PROFILE_MAGIC_V1 = "KORVAPROFILE_V1";
constexpr std::string_view PROFILE_MAGIC_V2 = "KORVAPROFILE_V2";
constexpr std::string_view PROFILE_MAGIC_V3 = "KORVAPROFILE_V3";

// Ten slots with names and paths of at most a long path each fit well within this; anything
// larger is not a profile.
constexpr size_t PROFILE_FILE_MAX_BYTES = 1 << 20;

// A whole profile: what a file holds and what it is read into.
struct ProfileContents {
    std::array<ProfileSlot, PROFILE_SLOT_COUNT> slots;
    std::array<std::wstring, PROFILE_SLOT_COUNT> paths;
    HotkeyBinding scrollPrev;
    HotkeyBinding scrollNext;
};

// The file text of version 3, CR LF after every line.
std::string WriteProfileFile(const ProfileContents& profile);

// Merges a file into `profile`: slots, paths and scroll keys that the file mentions are replaced,
// the others kept. False, with `profile` untouched, when the first line is not a known magic.
bool ReadProfileFile(std::string_view bytes, ProfileContents& profile);

// The profile held in the program state, and putting one back there.
ProfileContents CurrentProfile();
void ApplyProfile(const ProfileContents& profile);
