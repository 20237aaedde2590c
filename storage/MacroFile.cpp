// Writing and reading the macro file text: keyword lines, then one EV line per event, one byte per
// character with CR LF line ends. No locale is involved anywhere.
#include "storage/MacroFile.h"

#include "storage/TextCodec.h"

#include <algorithm>
#include <cmath>

namespace {

// Room a typical EV line takes, to size the output once.
constexpr size_t TYPICAL_EV_LINE = 24;
// The shortest line that adds an event is "EV" and its LF; the last line may lack the LF.
constexpr size_t SHORTEST_EV_LINE = 3;

void AppendKeywordNumber(std::string& out, std::string_view keyword, int64_t value) {
    out.append(keyword);
    out.push_back(' ');
    AppendNumber(out, value);
    out.append("\r\n");
}

void AppendHotkey(std::string& out, std::string_view keyword, const HotkeyBinding& binding) {
    out.append(keyword);
    out.push_back(' ');
    AppendNumber(out, binding.kind);
    out.push_back(' ');
    AppendNumber(out, binding.code);
    out.append("\r\n");
}

// Characters one byte cannot hold become '_', the same in the file name and in OUTPUT, so a macro
// loaded back saves again to its own file. A surrogate pair is one character.
std::wstring OneByteName(std::wstring_view name) {
    std::wstring fitted;
    for (size_t i = 0; i < name.size(); ++i) {
        auto code = static_cast<uint32_t>(name[i]);
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < name.size()) ++i;
        fitted.push_back(code <= 0xFF ? name[i] : L'_');
    }
    return fitted;
}

// Names Windows keeps for devices, with or without an extension: a file of that name would be
// the device itself.
bool IsDeviceName(std::wstring_view name) {
    std::wstring base;
    for (wchar_t c : name.substr(0, name.find(L'.')))
        base.push_back(c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c);
    while (!base.empty() && base.back() == L' ')
        base.pop_back();
    if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL" || base == L"CONIN$" ||
        base == L"CONOUT$")
        return true;
    if (base.size() != 4 || (base.compare(0, 3, L"COM") != 0 && base.compare(0, 3, L"LPT") != 0))
        return false;
    wchar_t digit = base[3];
    return (digit >= L'1' && digit <= L'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

// A line break inside the name would spill the rest of it onto a line of its own, where the
// reader would take it for a keyword; the name is written on one line with blanks instead.
std::string EncodeOutputName(std::wstring_view name) {
    std::string bytes = EncodeLatin1(OneByteName(name));
    std::replace(bytes.begin(), bytes.end(), '\n', ' ');
    std::replace(bytes.begin(), bytes.end(), '\r', ' ');
    return bytes;
}

std::string WriteLines(const MacroFileContents& settings, std::wstring_view outputName,
                       std::span<const MacroEvent> events) {
    std::string out;
    out.reserve(256 + outputName.size() + events.size() * TYPICAL_EV_LINE);
    AppendLine(out, MACRO_MAGIC);
    AppendKeywordNumber(out, "PLAYMODE", settings.playMode);
    // Only a set count is written, so files without one stay as older versions wrote them.
    if (settings.loopCount != 0) AppendKeywordNumber(out, "LOOP_COUNT", settings.loopCount);
    AppendKeywordNumber(out, "MOUSEMODE", settings.mouseMode);
    // Only recordings that have one: every other file stays as it was.
    if (settings.startPos) {
        out.append("START_POS ");
        AppendNumber(out, settings.startPos->x);
        out.push_back(' ');
        AppendNumber(out, settings.startPos->y);
        out.append("\r\n");
    }
    AppendKeywordNumber(out, "MASTER", settings.masterEnabled ? 1 : 0);
    AppendKeywordNumber(out, "DEVICEINDEX", settings.deviceIndex);
    out.append("OUTPUT ");
    AppendLine(out, EncodeOutputName(outputName));
    AppendHotkey(out, "RECORD_HOTKEY", settings.recordHotkey);
    AppendHotkey(out, "PLAY_HOTKEY", settings.playHotkey);
    AppendHotkey(out, "HOLD_OFF_HOTKEY", settings.holdOffHotkey);
    out.append("SPEED ");
    AppendLine(out, FormatReal(settings.speed));
    out.append("MACRO_COUNT ");
    AppendNumber(out, static_cast<uint64_t>(events.size()));
    out.append("\r\n");
    for (const MacroEvent& event : events)
        AppendEventLine(out, event);
    return out;
}

void ReadHotkey(std::string_view line, size_t position, HotkeyBinding& binding) {
    // Both numbers start at 0 for every such line, so a missing code unbinds.
    HotkeyBinding read;
    if (ReadInt32(line, position, read.kind)) ReadUint32(line, position, read.code);
    binding = read;
}

MacroEvent ReadEvent(std::string_view line, size_t position) {
    MacroEvent event;
    // The delay comes second on the line although it is the last field of the event; reading
    // stops at the first number that is missing, leaving it and the rest 0.
    (void)(ReadInt32(line, position, event.type) && ReadUint32(line, position, event.delayMs) &&
           ReadInt32(line, position, event.dx) && ReadInt32(line, position, event.dy) &&
           ReadUint32(line, position, event.button) && ReadUint32(line, position, event.vk));
    return event;
}

// Handles one header line; true once it was the MACRO_COUNT line that ends the header.
bool ReadHeaderLine(std::string_view line, MacroFileContents& contents) {
    size_t position = 0;
    std::string_view keyword = FirstWord(line, position);
    if (keyword == "PLAYMODE") {
        ReadInt32(line, position, contents.playMode);
    } else if (keyword == "LOOP_COUNT") {
        ReadUint32(line, position, contents.loopCount);
    } else if (keyword == "MOUSEMODE") {
        ReadInt32(line, position, contents.mouseMode);
    } else if (keyword == "START_POS") {
        ScreenPoint start;
        if (ReadInt32(line, position, start.x) && ReadInt32(line, position, start.y))
            contents.startPos = start;
    } else if (keyword == "DEVICEINDEX") {
        ReadInt32(line, position, contents.deviceIndex);
    } else if (keyword == "MASTER") {
        int32_t master = 0;
        if (ReadInt32(line, position, master)) contents.masterEnabled = master != 0;
    } else if (keyword == "OUTPUT") {
        contents.outputName = DecodeLatin1(RestAfterOneBlank(line, position));
    } else if (keyword == "RECORD_HOTKEY") {
        ReadHotkey(line, position, contents.recordHotkey);
    } else if (keyword == "PLAY_HOTKEY") {
        ReadHotkey(line, position, contents.playHotkey);
    } else if (keyword == "HOLD_OFF_HOTKEY") {
        ReadHotkey(line, position, contents.holdOffHotkey);
    } else if (keyword == "SPEED") {
        double speed = 0;
        // "inf" and "nan" are no speeds a playback could wait by; they count as unreadable.
        if (ReadDouble(line, position, speed) && std::isfinite(speed))
            contents.speed = speed > 0 ? speed : SPEED_DEFAULT;
    } else if (keyword == "MACRO_COUNT") {
        uint64_t count = 0;
        ReadUint64(line, position, count);
        contents.macroCount = count;
        return true;
    }
    return false;
}

} // namespace

void AppendEventLine(std::string& out, const MacroEvent& event) {
    out.append("EV ");
    AppendNumber(out, event.type);
    out.push_back(' ');
    AppendNumber(out, event.delayMs);
    out.push_back(' ');
    AppendNumber(out, event.dx);
    out.push_back(' ');
    AppendNumber(out, event.dy);
    out.push_back(' ');
    AppendNumber(out, event.button);
    out.push_back(' ');
    AppendNumber(out, event.vk);
    out.append("\r\n");
}

MacroFileContents MacroFileStartValues(const AppState& state) {
    MacroFileContents contents;
    contents.playMode = state.playMode;
    contents.mouseMode = state.mouseMode;
    contents.masterEnabled = state.masterEnabled;
    contents.deviceIndex = state.deviceIndex;
    contents.recordHotkey = state.recordHotkey;
    contents.playHotkey = state.playHotkey;
    contents.holdOffHotkey = state.holdOffHotkey;
    contents.speed = state.speed;
    contents.startPos = state.macroStartPos;
    contents.loopCount = state.loopCount;
    return contents;
}

std::string WriteMacroFile(const AppState& state, std::wstring_view outputName) {
    return WriteLines(MacroFileStartValues(state), outputName, state.events);
}

std::string WriteMacroFile(const MacroFileContents& contents) {
    return WriteLines(contents, contents.outputName, contents.events);
}

bool ReadMacroFile(std::string_view bytes, MacroFileContents& contents) {
    LineCursor cursor{bytes};
    std::string_view line;
    if (!NextLine(cursor, line) || line != MACRO_MAGIC) return false;

    contents.outputName.clear();
    contents.loopCount = 0; // a file without a count plays until stopped
    contents.macroCount = 0;
    contents.events.clear();
    contents.startPos.reset();
    bool headerEnded = false;
    while (!headerEnded && NextLine(cursor, line)) {
        if (!line.empty()) headerEnded = ReadHeaderLine(line, contents);
    }
    contents.headerLength = std::min(cursor.position, bytes.size());
    if (!headerEnded || contents.macroCount == 0) return true;

    // The count comes from the file and may be damaged: reserve no more than the remaining bytes
    // can hold, which is also the most events the loop below can append.
    size_t remaining = bytes.size() - std::min(cursor.position, bytes.size());
    size_t mostEvents = (remaining + 1) / SHORTEST_EV_LINE;
    contents.events.reserve(static_cast<size_t>(std::min<uint64_t>(contents.macroCount, mostEvents)));
    uint64_t counted = 0;
    while (counted < contents.macroCount && NextLine(cursor, line)) {
        if (line.empty()) continue;
        ++counted;
        size_t position = 0;
        if (FirstWord(line, position) == "EV") contents.events.push_back(ReadEvent(line, position));
    }
    return true;
}

std::wstring MacroFileNameFromOutput(std::wstring_view outputText) {
    constexpr std::wstring_view BLANKS = L" \t";
    constexpr std::wstring_view FORBIDDEN = L"\\/:*?\"<>|";
    size_t first = outputText.find_first_not_of(BLANKS);
    if (first == std::wstring_view::npos) return L"Macro";
    size_t last = outputText.find_last_not_of(BLANKS);
    std::wstring name;
    for (wchar_t c : OneByteName(outputText.substr(first, last - first + 1))) {
        if (FORBIDDEN.find(c) == std::wstring_view::npos) name.push_back(c);
    }
    if (name.empty()) return L"Macro";
    if (IsDeviceName(name)) name.insert(std::min(name.find(L'.'), name.size()), L"_");
    return name;
}

std::string WriteEventLines(std::span<const MacroEvent> events) {
    std::string out;
    out.reserve(events.size() * TYPICAL_EV_LINE);
    for (const MacroEvent& event : events)
        AppendEventLine(out, event);
    return out;
}

void AppendEventLines(std::string_view text, std::vector<MacroEvent>& events) {
    // A guess from the length: most pasted text is EV lines, and a guess too small only grows.
    events.reserve(events.size() + text.size() / TYPICAL_EV_LINE);
    LineCursor cursor{text};
    std::string_view line;
    while (NextLine(cursor, line)) {
        size_t position = 0;
        if (FirstWord(line, position) == "EV") events.push_back(ReadEvent(line, position));
    }
}

std::vector<MacroEvent> ReadEventLines(std::string_view text) {
    std::vector<MacroEvent> events;
    AppendEventLines(text, events);
    return events;
}
