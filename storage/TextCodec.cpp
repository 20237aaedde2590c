// Latin-1 text, lines and numbers for the file codecs, without any locale.
#include "storage/TextCodec.h"

#include <charconv>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

size_t SkipBlanks(std::string_view line, size_t position) {
    while (position < line.size() && IsBlank(line[position]))
        ++position;
    return position;
}

template <typename T> bool ReadNumber(std::string_view line, size_t& position, T& value) {
    size_t start = SkipBlanks(line, position);
    if (start >= line.size()) return false;
    const char* first = line.data() + start;
    const char* last = line.data() + line.size();
    // from_chars takes no '+' sign; a stream would, so accept it for integers and reals alike.
    if (*first == '+' && first + 1 < last && *(first + 1) != '-') ++first;
    T parsed{};
    auto [end, error] = std::from_chars(first, last, parsed);
    if (error != std::errc()) return false;
    value = parsed;
    position = static_cast<size_t>(end - line.data());
    return true;
}

} // namespace

std::string EncodeLatin1(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (wchar_t c : text) {
        auto code = static_cast<uint32_t>(c);
        bytes.push_back(code <= 0xFF ? static_cast<char>(code) : '?');
    }
    return bytes;
}

std::wstring DecodeLatin1(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (char c : bytes)
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return text;
}

bool NextLine(LineCursor& cursor, std::string_view& line) {
    if (cursor.position >= cursor.text.size()) return false;
    size_t end = cursor.text.find('\n', cursor.position);
    size_t next = end == std::string_view::npos ? cursor.text.size() : end + 1;
    if (end == std::string_view::npos) end = cursor.text.size();
    line = cursor.text.substr(cursor.position, end - cursor.position);
    if (!line.empty() && line.back() == '\r' && end < cursor.text.size()) line.remove_suffix(1);
    cursor.position = next;
    return true;
}

std::string_view FirstWord(std::string_view line, size_t& afterWord) {
    size_t start = SkipBlanks(line, 0);
    size_t end = start;
    while (end < line.size() && !IsBlank(line[end]))
        ++end;
    afterWord = end;
    return line.substr(start, end - start);
}

bool ReadInt32(std::string_view line, size_t& position, int32_t& value) {
    return ReadNumber(line, position, value);
}
bool ReadUint32(std::string_view line, size_t& position, uint32_t& value) {
    return ReadNumber(line, position, value);
}
bool ReadUint64(std::string_view line, size_t& position, uint64_t& value) {
    return ReadNumber(line, position, value);
}
bool ReadDouble(std::string_view line, size_t& position, double& value) {
    return ReadNumber(line, position, value);
}

std::string_view RestAfterOneBlank(std::string_view line, size_t position) {
    if (position >= line.size()) return {};
    std::string_view rest = line.substr(position);
    if (rest.front() == ' ') rest.remove_prefix(1);
    return rest;
}

void AppendLine(std::string& out, std::string_view text) {
    out.append(text);
    out.append("\r\n");
}

std::string FormatReal(double value) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof(buffer), value, std::chars_format::general, 6);
    if (error != std::errc()) return "0";
    return std::string(buffer, end);
}
