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

// " vk=0x57 W": the code, and the key's name where there is one.
void AppendKeyCode(std::wstring& text, uint32_t vk, KeyNameFunction keyName) {
    text += L" vk=0x";
    AppendNumber(text, vk & KEY_CODE_BITS, 16);
    std::wstring name = keyName ? keyName(vk & KEY_CODE_BITS) : std::wstring();
    if (name.empty()) return;
    text += L' ';
    text += name;
}

// " at 812,433" for a click made at a known place on the screen.
void AppendPosition(std::wstring& text, const MacroEvent& event) {
    if (!HasScreenPosition(event)) return;
    text += L" at ";
    AppendNumber(text, event.dx);
    text += L',';
    AppendNumber(text, event.dy);
}

} // namespace

std::wstring FormatEventRow(size_t position, const MacroEvent& event, KeyNameFunction keyName) {
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
        AppendPosition(text, event);
        AppendModifierNames(text, event.vk);
        break;
    case ButtonUp:
        text += L"Mouse up btn=";
        AppendNumber(text, event.button);
        AppendPosition(text, event);
        break;
    case Key:
        if (event.vk & KEY_HELD) {
            text += L"Key down";
            AppendKeyCode(text, event.vk, keyName);
            break;
        }
        text += L"Key vk=0x";
        AppendNumber(text, event.vk & KEY_CODE_BITS, 16);
        AppendModifierNames(text, event.vk);
        break;
    case KeyUp:
        text += L"Key up";
        AppendKeyCode(text, event.vk, keyName);
        break;
    case Wheel:
        text += L"Wheel";
        if (event.dx != 0) {
            text += L" dx=";
            AppendNumber(text, event.dx);
        }
        if (event.dy != 0 || event.dx == 0) {
            text += L" dy=";
            AppendNumber(text, event.dy);
        }
        break;
    case Wait:
        text += L"Wait";
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

std::wstring EventRowText(size_t row, KeyNameFunction keyName) {
    if (row >= app.events.size()) return {};
    return FormatEventRow(row, app.events[row], keyName);
}

std::wstring FormatDelaySeconds(uint32_t delayMs) {
    wchar_t buffer[32];
    std::swprintf(buffer, 32, L"%.3f", delayMs / 1000.0);
    return buffer;
}

bool DelayMsFromText(const std::wstring& text, uint32_t& delayMs) {
    // Read as exact decimal digits rather than through a floating-point parse, which would take
    // "0x10", "1e9", "inf" and "nan" and stop silently at a comma.
    size_t begin = text.find_first_not_of(L' ');
    size_t end = text.find_last_not_of(L' ');
    if (begin == std::wstring::npos) return false;
    uint64_t ms = 0;
    int integerDigits = 0, fractionDigits = 0;
    bool afterMark = false, roundUp = false;
    for (size_t i = begin; i <= end; ++i) {
        wchar_t c = text[i];
        if ((c == L'.' || c == L',') && !afterMark) {
            afterMark = true;
            continue;
        }
        if (c < L'0' || c > L'9') return false;
        uint64_t digit = static_cast<uint64_t>(c - L'0');
        if (!afterMark) {
            ++integerDigits;
            ms = ms * 10 + digit * 1000;
            // More seconds than DELAY_MS_MAX holds cannot come back below it.
            if (ms > DELAY_MS_MAX) return false;
        } else if (++fractionDigits <= 3) {
            ms += digit * (fractionDigits == 1 ? 100 : fractionDigits == 2 ? 10 : 1);
        } else if (fractionDigits == 4) {
            roundUp = digit >= 5;
        }
    }
    if (integerDigits + fractionDigits == 0) return false;
    ms += roundUp ? 1 : 0;
    if (ms > DELAY_MS_MAX) return false;
    delayMs = static_cast<uint32_t>(ms);
    return true;
}

double SpeedFromText(const std::wstring& text) {
    double speed = std::wcstod(text.c_str(), nullptr);
    if (!(speed > 0)) speed = SPEED_MIN;
    return std::min(speed, SPEED_MAX);
}

RowsAfterDelete PlaceAfterDelete(const std::vector<bool>& ticks, size_t rowCount, size_t top) {
    size_t ticked = std::min(ticks.size(), rowCount);
    size_t removedAboveTop = 0, removed = 0, lastRemoved = 0;
    for (size_t i = 0; i < ticked; ++i) {
        if (!ticks[i]) continue;
        ++removed;
        lastRemoved = i;
        if (i < top) ++removedAboveTop;
    }
    RowsAfterDelete place;
    size_t left = rowCount - removed;
    if (left == 0) return place;
    place.top = std::min(top - removedAboveTop, left - 1);
    place.selected = removed == 0 ? NO_ROW : std::min(lastRemoved + 1 - removed, left - 1);
    return place;
}

bool WriteRowDelay(size_t row, uint32_t delayMs) {
    std::lock_guard lock(app.macroMutex);
    if (row >= app.events.size()) return false;
    app.events[row].delayMs = delayMs;
    return true;
}

bool RemoveTickedEvents() {
    return RemoveRows(TickedRows());
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

std::vector<size_t> TickedRows() {
    std::vector<size_t> rows;
    size_t count = std::min(app.rowTicks.size(), app.events.size());
    for (size_t row = 0; row < count; ++row) {
        if (app.rowTicks[row]) rows.push_back(row);
    }
    return rows;
}

std::vector<size_t> RowsToActOn() {
    std::vector<size_t> rows = TickedRows();
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
