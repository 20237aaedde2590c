// The macro path on the command line.
#include "app/CommandLine.h"

std::wstring PathFromCommandLine(std::wstring_view commandLine) {
    constexpr std::wstring_view blanks = L" \t\r\n";
    size_t first = commandLine.find_first_not_of(blanks);
    if (first == std::wstring_view::npos) return {};
    commandLine.remove_prefix(first);
    if (commandLine.front() == L'"') {
        commandLine.remove_prefix(1);
        return std::wstring(commandLine.substr(0, commandLine.find(L'"')));
    }
    return std::wstring(commandLine.substr(0, commandLine.find_last_not_of(blanks) + 1));
}
