// Row texts, typed values and the macro edits of the event list. Runs on the user-interface
// thread; writes to `events` hold the macro lock because the playback thread may be reading.
#include "macro/EventList.h"

#include "storage/MacroFile.h"
#include "storage/TextCodec.h"
#include "macro/Undo.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <mutex>

namespace {

// Room a typical EV line takes, to size the copied text once.
constexpr size_t TYPICAL_EV_LINE_BYTES = 24;

// " Ctrl+Shift" for the modifiers in a Key's or ButtonDown's vk, nothing without them.
void AppendModifierNames(std::wstring& text, uint32_t vk) {
    static constexpr struct {
        uint32_t bit;
        const wchar_t* name;
    } NAMES[] = {
        {MODIFIER_CTRL, L"Ctrl"}, {MODIFIER_ALT, L"Alt"}, {MODIFIER_SHIFT, L"Shift"}, {MODIFIER_WIN, L"Win"}};
    wchar_t separator = L' ';
    for (const auto& modifier : NAMES) {
        if (!(vk & modifier.bit)) continue;
        text += separator;
        text += modifier.name;
        separator = L'+';
    }
}

} // namespace

std::wstring FormatEventRow(size_t position, const MacroEvent& event) {
    std::wstring text;
    text.reserve(48);
    AppendNumber(text, position);
    text += L": ";
    switch (event.type) {
    case Move:
        text += L"Move dx=";
        AppendNumber(text, event.dx);
        text += L" dy=";
        AppendNumber(text, event.dy);
        break;
    case ButtonDown:
        text += L"Mouse down btn=";
        AppendNumber(text, event.button);
        AppendModifierNames(text, event.vk);
        break;
    case ButtonUp:
        text += L"Mouse up btn=";
        AppendNumber(text, event.button);
        break;
    case Key:
        text += L"Key vk=0x";
        AppendNumber(text, event.vk & KEY_CODE_BITS, 16);
        AppendModifierNames(text, event.vk);
        break;
    default:
        text += L"Event";
        break;
    }
    text += L"  delay=";
    AppendNumber(text, event.delayMs);
    text += L" ms";
    return text;
}

std::wstring EventRowText(size_t row) {
    if (row >= app.events.size()) return {};
    return FormatEventRow(row, app.events[row]);
}

std::wstring FormatDelaySeconds(uint32_t delayMs) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%.3f", delayMs / 1000.0);
    return buffer;
}

uint32_t DelayMsFromText(const std::wstring& text) {
    double seconds = std::wcstod(text.c_str(), nullptr);
    if (!(seconds > 0)) return 0;
    double ms = seconds * 1000.0 + 0.5;
    // A 32-bit delay cannot hold more; the largest one is the nearest to what was typed.
    if (ms >= 4294967296.0) return DELAY_MS_MAX;
    return static_cast<uint32_t>(ms);
}

double SpeedFromText(const std::wstring& text) {
    double speed = std::wcstod(text.c_str(), nullptr);
    if (!(speed > 0)) speed = SPEED_MIN;
    return std::min(speed, SPEED_MAX);
}

bool WriteRowDelay(size_t row, uint32_t delayMs) {
    std::lock_guard lock(app.macroMutex);
    if (row >= app.events.size()) return false;
    app.events[row].delayMs = delayMs;
    return true;
}

bool RemoveTickedEvents() {
    if (app.events.empty() || app.rowTicks.empty()) return false;
    // One pass into a new vector: the old macro moves whole into the undo history, and a million
    // events still take only milliseconds. Only this thread writes `events`, so reading needs no lock.
    size_t tickCount = std::min(app.rowTicks.size(), app.events.size());
    std::vector<MacroEvent> kept;
    kept.reserve(app.events.size());
    for (size_t i = 0; i < app.events.size(); ++i) {
        if (i >= tickCount || !app.rowTicks[i]) kept.push_back(app.events[i]);
    }
    ReplaceEvents(std::move(kept));
    return true;
}

EventListKeyAction EventListKeyFor(uint32_t vk, bool ctrl, bool shift, bool alt) {
    constexpr uint32_t VK_SPACE_KEY = 0x20, VK_UP_KEY = 0x26, VK_DOWN_KEY = 0x28, VK_INSERT_KEY = 0x2D,
                       VK_DELETE_KEY = 0x2E;
    if (alt) {
        if (ctrl || shift) return NoListKey;
        return vk == VK_UP_KEY ? MoveRowsUpKey : vk == VK_DOWN_KEY ? MoveRowsDownKey : NoListKey;
    }
    if (ctrl && shift) return NoListKey;
    if (ctrl) {
        switch (vk) {
        case 'A':
            return TickAllKey;
        case 'C':
        case VK_INSERT_KEY:
            return CopyRowsKey;
        case 'X':
            return CutRowsKey;
        case 'V':
            return PasteRowsKey;
        default:
            return NoListKey;
        }
    }
    if (shift) return vk == VK_DELETE_KEY ? CutRowsKey : vk == VK_INSERT_KEY ? PasteRowsKey : NoListKey;
    return vk == VK_SPACE_KEY ? TickSelectedKey : vk == VK_DELETE_KEY ? DeleteRowsKey : NoListKey;
}

bool MacroEditable() {
    return !app.recording && !app.playing;
}

std::vector<size_t> RowsToActOn() {
    std::vector<size_t> rows;
    size_t count = std::min(app.rowTicks.size(), app.events.size());
    for (size_t row = 0; row < count; ++row) {
        if (app.rowTicks[row]) rows.push_back(row);
    }
    if (rows.empty() && app.selectedRow < app.events.size()) rows.push_back(app.selectedRow);
    return rows;
}

std::string EventLinesOfRows(const std::vector<size_t>& rows) {
    std::string lines;
    lines.reserve(rows.size() * TYPICAL_EV_LINE_BYTES);
    for (size_t row : rows) {
        if (row < app.events.size()) AppendEventLine(lines, app.events[row]);
    }
    return lines;
}

bool RemoveRows(const std::vector<size_t>& rows) {
    std::vector<MacroEvent> kept;
    kept.reserve(app.events.size());
    auto next = rows.begin();
    for (size_t i = 0; i < app.events.size(); ++i) {
        while (next != rows.end() && *next < i)
            ++next;
        if (next == rows.end() || *next != i) kept.push_back(app.events[i]);
    }
    if (kept.size() == app.events.size()) return false;
    ReplaceEvents(std::move(kept));
    return true;
}

size_t InsertEventLinesAfterRow(size_t after, std::string_view text) {
    size_t at = after < app.events.size() ? after + 1 : app.events.size();
    // Read straight into the new macro: a paste of a million rows makes one copy, not two.
    std::vector<MacroEvent> events(app.events.begin(), app.events.begin() + static_cast<ptrdiff_t>(at));
    AppendEventLines(text, events);
    if (events.size() == at) return NO_ROW;
    events.insert(events.end(), app.events.begin() + static_cast<ptrdiff_t>(at), app.events.end());
    ReplaceEvents(std::move(events));
    return at;
}

bool MoveRowsOnePlace(const std::vector<size_t>& rows, bool down, size_t& selected) {
    size_t count = app.events.size();
    std::vector<bool> moving(count, false);
    for (size_t row : rows) {
        if (row < count) moving[row] = true;
    }
    std::vector<MacroEvent> events = app.events;
    std::vector<bool> ticks = app.rowTicks;
    ticks.resize(count, false);
    bool moved = false;
    // Each moving row trades places with the still row before it (after it, going down). Up walks
    // from the top and down from the bottom, so a block moves whole and gaps between ticks stay.
    for (size_t step = 1; step < count; ++step) {
        size_t row = down ? count - 1 - step : step;
        size_t other = down ? row + 1 : row - 1;
        if (!moving[row] || moving[other]) continue;
        std::swap(events[row], events[other]);
        moving[row] = false;
        moving[other] = true;
        std::vector<bool>::swap(ticks[row], ticks[other]);
        if (selected == row)
            selected = other;
        else if (selected == other)
            selected = row;
        moved = true;
    }
    if (!moved) return false;
    ReplaceEvents(std::move(events));
    app.rowTicks = std::move(ticks);
    return true;
}

uint32_t LoopCountFromText(const std::wstring& text) {
    uint64_t count = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') break;
        count = std::min<uint64_t>(count * 10 + static_cast<uint64_t>(c - L'0'), UINT32_MAX);
    }
    return static_cast<uint32_t>(count);
}

std::wstring LoopCountText(uint32_t count) {
    return count == 0 ? std::wstring() : std::to_wstring(count);
}
