// The text conventions that macro and profile files share: one byte per character (Latin-1),
// CR LF line ends (a lone LF also ends a line when reading), blanks and tabs between tokens,
// locale-free decimal numbers. Portable.
#pragma once

#include <charconv>
#include <cstdint>
#include <string>
#include <string_view>

// Characters above U+00FF cannot be stored in one byte and are written as '?'.
std::string EncodeLatin1(std::wstring_view text);
std::wstring DecodeLatin1(std::string_view bytes);

// Walks a text line by line.
struct LineCursor {
    std::string_view text;
    size_t position = 0;
};

// The next line without its LF or CR LF; false once the text is used up.
bool NextLine(LineCursor& cursor, std::string_view& line);

// The first word of a line: leading blanks and tabs skipped, ending at a blank, tab or the line end.
// `afterWord` receives the position just behind it.
std::string_view FirstWord(std::string_view line, size_t& afterWord);

// Each reader skips blanks and tabs at `position`, then parses one number. On success it stores the
// value and moves `position` behind it; on a missing or malformed number it returns false and
// leaves both alone.
bool ReadInt32(std::string_view line, size_t& position, int32_t& value);
bool ReadUint32(std::string_view line, size_t& position, uint32_t& value);
bool ReadUint64(std::string_view line, size_t& position, uint64_t& value);
bool ReadDouble(std::string_view line, size_t& position, double& value);

// The rest of a line from `position`, with exactly one leading blank removed when there is one.
std::string_view RestAfterOneBlank(std::string_view line, size_t position);

// Appends the digits of an integer (decimal unless `base` says otherwise), locale-free, to a narrow
// or wide string. In place: the event list formats tens of thousands of rows at a time.
template <typename Text, typename Integer> void AppendNumber(Text& out, Integer value, int base = 10) {
    char digits[24]; // any 64-bit integer with its sign
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value, base);
    if (error == std::errc()) out.append(digits, end);
}

// Appends `text` and CR LF.
void AppendLine(std::string& out, std::string_view text);

// Six significant digits in the shortest general form: 0.6, 1, 0.333333, 1.25e+06.
std::string FormatReal(double value);
