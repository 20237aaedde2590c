// Row texts, typed values and the macro edits of the event list. Runs on the user-interface
// thread; writes to `events` hold the macro lock because the playback thread may be reading.
#include "macro/EventList.h"

#include "storage/TextCodec.h"
#include "macro/Undo.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <mutex>

namespace {

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
