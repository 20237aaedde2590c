// Profile slots' macros read and parsed ahead, so that a profile key swaps one in from the keyboard
// hook instead of reading its file there, within a memory bound. Portable: the file stamps and
// bytes come from storage/ReadyMacros_win.cpp.
#pragma once

#include "core/AppState.h"
#include "storage/MacroFile.h"

#include <string>
#include <string_view>
#include <vector>

// Ready macros of all slots together hold at most this; past it a slot is read at switch time.
constexpr uint64_t READY_MACROS_BYTES_MAX = 256ull << 20;
// A longer header is not kept: it is parsed again at every switch, which must stay short.
constexpr size_t READY_HEADER_BYTES_MAX = 64 * 1024;

// The memory a ready macro holds.
uint64_t ReadyMacroBytes(const ReadyMacro& macro);

// Makes `events` and `header` of the file `path` the ready macro of `slot` when the header is
// short enough and the other slots leave room; else the slot has none and is marked `overBudget`
// for that path and stamp. True when kept.
bool KeepReadyMacro(size_t slot, const std::wstring& path, FileStamp stamp, std::string_view header,
                    std::vector<MacroEvent> events);

// When the slot's ready macro is that of `path` as stamped now: `contents` (holding the current
// settings) gets the header's settings and, in constant time, the events, which the slot then no
// longer holds. False, changing nothing, otherwise.
bool TakeReadyMacro(size_t slot, const std::wstring& path, FileStamp stamp, MacroFileContents& contents);
