// The rules behind the event list without Win32: the row texts, the row table, the delay and
// speed typed by the user, and the edits of the macro that the list's commands make.
#pragma once

#include "core/AppState.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t DELAY_MS_MAX = 4294967295u;

// The name of a key as the system gives it ("W", "Shift"), empty when it has none.
using KeyNameFunction = std::wstring (*)(uint32_t vk);

// "3: Key vk=0x1b  delay=7 ms", "4: Key down vk=0x57 W  delay=120 ms" and the like; held presses
// and releases name their key when `keyName` is given.
std::wstring FormatEventRow(size_t position, const MacroEvent& event, KeyNameFunction keyName = nullptr);
// The text of list row `row`, made when the row is painted or asked for: the list holds no
// strings, so a macro of any length is listed at the cost of the rows on screen. Empty past the end.
std::wstring EventRowText(size_t row, KeyNameFunction keyName = nullptr);
// A delay in milliseconds shown as seconds with three decimals ("0.120").
std::wstring FormatDelaySeconds(uint32_t delayMs);

// Seconds typed into the delay edit, as the nearest millisecond: digits with at most one point or
// comma as the decimal mark, blanks around them, from 0 to 4294967.295. False for anything else.
bool DelayMsFromText(const std::wstring& text, uint32_t& delayMs);
// A speed typed into the speed edit: not above 0 (or no number) gives SPEED_MIN, then at most SPEED_MAX.
double SpeedFromText(const std::wstring& text);

// Where the list stands after the ticked rows are deleted: `top` keeps the rows that were on
// screen in their place, `selected` is the row that followed the last deleted one (the new last
// row when nothing followed it; NO_ROW when no row is left).
struct RowsAfterDelete {
    size_t top = 0;
    size_t selected = NO_ROW;
};
RowsAfterDelete PlaceAfterDelete(const std::vector<bool>& ticks, size_t rowCount, size_t top);

// Row `row` stands for event `row`. Edits `events` under the macro lock. Returns false when
// `row` is no event.
bool WriteRowDelay(size_t row, uint32_t delayMs);
// Keeps the events whose rows are not ticked, in one pass. Returns false, changing nothing, when
// the macro or the ticks are empty.
bool RemoveTickedEvents();
