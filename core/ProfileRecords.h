// Profile slots and the macros of enabled slots read ahead for quick switching. Plain data.
#pragma once

#include "core/InputRecords.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr int PROFILE_SLOT_COUNT = 10;

struct ProfileSlot {
    bool enabled = false;
    HotkeyBinding trigger;
    std::wstring name;
};

// A file's size and last-write time: a file whose stamp is unchanged is taken as unchanged.
struct FileStamp {
    uint64_t size = 0;
    uint64_t writeTime = 0;

    bool operator==(const FileStamp&) const = default;
};

// A profile slot's macro file read ahead: the header text (the lines before the events, parsed
// again at each switch because a missing keyword keeps the setting of that moment) and the
// parsed events. While not `ready` it holds no events. After a switch took them (or read the file
// at switch time), `refillPending` and `refillCount`, the length of the macro the switch put in,
// let the copy be made again from the macro itself while nothing has been appended to it.
// `overBudget` marks a file of this path and stamp that did not fit the memory bound, so that it
// is not read again to be refused again.
struct ReadyMacro {
    std::wstring path;
    FileStamp stamp;
    std::string header;
    std::vector<MacroEvent> events;
    bool ready = false;
    bool refillPending = false;
    size_t refillCount = 0;
    bool overBudget = false;
};
