// What the program takes from its command line: the macro file to open, as Explorer's "open
// with" and a double-click pass it. Portable.
#pragma once

#include <string>
#include <string_view>

// The first argument without its quotes; an unquoted line is taken whole (blanks at both ends
// dropped), so a path with blanks that nobody quoted still opens. Empty for no argument.
std::wstring PathFromCommandLine(std::wstring_view commandLine);
