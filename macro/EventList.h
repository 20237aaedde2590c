// The rules behind the event list without Win32: the row texts, the row table, the delay and
// speed typed by the user, and the edits of the macro that the list's commands make.
#pragma once

#include "core/AppState.h"

#include <cstdint>
#include <string>
#include <string_view>
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
// no row is ticked.
bool RemoveTickedEvents();

// What a key pressed in the event list does.
enum EventListKeyAction {
    NoListKey,
    TickSelectedKey, // Space
    DeleteRowsKey,   // Delete
    TickAllKey,      // Ctrl+A
    CopyRowsKey,     // Ctrl+C, Ctrl+Insert
    CutRowsKey,      // Ctrl+X, Shift+Delete
    PasteRowsKey,    // Ctrl+V, Shift+Insert
    MoveRowsUpKey,   // Alt+Up
    MoveRowsDownKey, // Alt+Down
};
// Alt with Ctrl is AltGr on many layouts and types characters: no command.
EventListKeyAction EventListKeyFor(uint32_t vk, bool ctrl, bool shift, bool alt);

// The macro is not edited while a recording fills it or a playback plays it.
bool MacroEditable();
// The ticked rows, in order.
std::vector<size_t> TickedRows();
// The rows the list's keyboard commands act on: the ticked rows, or else the selected row; in order.
std::vector<size_t> RowsToActOn();
// The EV lines of `rows`, as a saved file holds them.
std::string EventLinesOfRows(const std::vector<size_t>& rows);
// Removes the events of `rows` (ascending), keeping the old macro for undo. False when none is a row.
bool RemoveRows(const std::vector<size_t>& rows);
// Inserts the events of the EV lines in `text` after row `after` (at the end when it is no row),
// keeping the old macro for undo. Returns the position of the first inserted event; NO_ROW, with
// nothing changed, when `text` holds no EV line.
size_t InsertEventLinesAfterRow(size_t after, std::string_view text);
// Moves each of `rows` (ascending) one place up (or down) past its neighbour that does not move;
// a row against the end stays, and so do rows bunched behind it. Each event keeps its delay; the
// ticks and `selected` move with their rows. False, changing nothing, when no row could move.
bool MoveRowsOnePlace(const std::vector<size_t>& rows, bool down, size_t& selected);

// The repeat count in the box beside Loop: its leading digits, 0 (until stopped) for none, at most
// the 32-bit maximum.
uint32_t LoopCountFromText(const std::wstring& text);
// What the box shows for a count: nothing for 0.
std::wstring LoopCountText(uint32_t count);
