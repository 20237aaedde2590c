// The rules behind the event list without Win32: the row texts, the row table, the delay and
// speed typed by the user, and the edits of the macro that the list's commands make.
#pragma once

#include "app/AppState.h"

#include <cstdint>
#include <string>
#include <vector>

constexpr uint32_t DELAY_MS_MAX = 4294967295u;

// "3: Key vk=0x1b  delay=7 ms" and the like.
std::wstring FormatEventRow(size_t position, const MacroEvent& event);
// One row per event, standing for that event alone.
std::vector<EventListRow> MakeEventRows(const std::vector<MacroEvent>& events);
// A delay in milliseconds shown as seconds with three decimals ("0.120").
std::wstring FormatDelaySeconds(uint32_t delayMs);

// Seconds typed into the delay edit, as the nearest millisecond. Text that is no number, and
// negative values, give 0; values beyond the 32-bit range give DELAY_MS_MAX.
uint32_t DelayMsFromText(const std::wstring& text);
// A speed typed into the speed edit: not above 0 (or no number) gives SPEED_MIN, then at most SPEED_MAX.
double SpeedFromText(const std::wstring& text);

// The first valid event of row `row` gets `delayMs`, its later valid events 0. Edits `events`
// under the macro lock. Returns false when `row` is no row or stands for no position.
bool WriteRowDelay(size_t row, uint32_t delayMs);
// Replaces the macro by the events of the unticked rows. Returns false, changing nothing, when
// the macro, the rows or the ticks are empty.
bool RemoveTickedEvents();
