// The macro file codec: the lines a saved macro is made of and the tolerant reader that turns them
// back into settings and events. Bytes in, bytes out; opening files and touching windows is the
// caller's business (storage/MacroFiles_win.cpp).
#pragma once

#include "core/AppState.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

constexpr std::string_view MACRO_MAGIC = "KORVAMACRO_V1";

// The largest macro file read. 17 minutes of 8,000 Hz mouse input are 8,160,000 events, about
// 150 MB of EV lines; the limit leaves room for 32 bytes a line. Parsed, a file takes several times
// its size, so a larger one is refused before it is read.
constexpr size_t MACRO_FILE_MAX_BYTES = size_t{256} << 20;

// What one macro file yields. The reader starts every setting at its current value, so a keyword
// missing from the file leaves that setting alone.
struct MacroFileContents {
    int32_t playMode = Once;
    int32_t mouseMode = FreeMouse;
    bool masterEnabled = true;
    int32_t deviceIndex = 0;
    std::wstring outputName;
    HotkeyBinding recordHotkey;
    HotkeyBinding playHotkey;
    HotkeyBinding holdOffHotkey;
    double speed = SPEED_DEFAULT;
    uint64_t macroCount = 0;
    std::vector<MacroEvent> events;
    // Bytes from the start of the file to the end of the MACRO_COUNT line (the whole file
    // without one): every setting comes from there, the events from the rest.
    size_t headerLength = 0;
    // START_POS: where the cursor was when the recording started; like the events, only a file
    // that has the line gives one.
    std::optional<ScreenPoint> startPos;
    // LOOP_COUNT: the passes Loop plays, 0 for until stopped. A file without the line means 0.
    uint32_t loopCount = 0;
};

// The settings of `state` with no output name and no events: where reading a file starts.
MacroFileContents MacroFileStartValues(const AppState& state);

// The whole file for the settings and macro of `state` and the text of the output box.
std::string WriteMacroFile(const AppState& state, std::wstring_view outputName);
// The same for settings and events held in `contents` (MACRO_COUNT is the number of its events).
std::string WriteMacroFile(const MacroFileContents& contents);

// Parses `bytes` into `contents`, which holds the start values on entry. False, with `contents`
// untouched, when the first line is not exactly the magic.
bool ReadMacroFile(std::string_view bytes, MacroFileContents& contents);

// Appends the EV line of `event` and its CR LF.
void AppendEventLine(std::string& out, const MacroEvent& event);
// The EV lines of `events`, each ended by CR LF, exactly as a saved file holds them.
std::string WriteEventLines(std::span<const MacroEvent> events);
// The events of every EV line in `text`, in order; every other line (a file's header, blank
// lines, other text) is skipped. EV lines read as a file's do: missing numbers are 0.
std::vector<MacroEvent> ReadEventLines(std::string_view text);
// The same events appended to `events`.
void AppendEventLines(std::string_view text, std::vector<MacroEvent>& events);

// The file name the output box text is saved under: blanks and tabs trimmed at both ends, the nine
// characters Windows forbids in file names removed, characters above U+00FF as '_' (as OUTPUT
// writes them), "Macro" when nothing is left, and "_" behind a device name ("NUL" saves as "NUL_").
std::wstring MacroFileNameFromOutput(std::wstring_view outputText);
