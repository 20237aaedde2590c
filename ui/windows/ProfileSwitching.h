// The rules behind profile switching: which slot a trigger key or a scroll key picks, which macro
// file a slot loads, and the texts that show the active slot. Portable.
#pragma once

#include "core/ProfileRecords.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

using ProfileSlots = std::array<ProfileSlot, PROFILE_SLOT_COUNT>;

// The enabled slot after (before) `active`, wrapping around; with no slot active (< 0) the
// lowest (highest) enabled slot. The active slot itself when it is the only enabled one; -1 when
// no slot is enabled.
int NextEnabledSlot(const ProfileSlots& slots, int active);
int PreviousEnabledSlot(const ProfileSlots& slots, int active);

// The first enabled slot, in index order, whose trigger is the key `vk`; -1 for none. Only
// keyboard triggers ever match.
int TriggeredSlot(const ProfileSlots& slots, uint32_t vk);

// The macro file a slot loads: its mapped path, or else the file named like the slot in the
// macro folder; empty when the slot has neither.
std::wstring SlotMacroPath(const std::wstring& mappedPath, const std::wstring& name);

// The slot name for a picked macro file: the file name without its folder, cut before its first dot.
std::wstring ProfileNameFromPath(std::wstring_view path);

// "P" and the slot's number counted from 1: the default name and the prefix of the labels.
std::wstring SlotNumberText(int slot);
// "P3 - Farm" for the main window and the overlay, "Active profile: Farm" for the profile window.
std::wstring ProfileLabelText(int slot, const std::wstring& name);
std::wstring ActiveProfileLabelText(const std::wstring& name);
