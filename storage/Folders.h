// The fixed folder tree and the path tests the file commands make on it. Portable.
#pragma once

#include <string>
#include <string_view>

constexpr std::wstring_view ROOT_FOLDER = L"C:\\KorvaMacro";
constexpr std::wstring_view MACRO_FOLDER = L"C:\\KorvaMacro\\Data";
constexpr std::wstring_view PROFILE_FOLDER = L"C:\\KorvaMacro\\Profile_Save";

// Comparisons that ignore the case of ASCII letters, as path tests on these folders need.
bool HasPrefixIgnoringCase(std::wstring_view text, std::wstring_view prefix);
bool HasSuffixIgnoringCase(std::wstring_view text, std::wstring_view suffix);

// "X:\...": the only form of a path that names a file on a drive of this
// computer. Everything else (\\host\share, \\?\ and \\.\ forms, \??\UNC\host, "C:" with no
// separator after it) may reach a network share, a device or a pipe.
bool IsDriveLetterPath(std::wstring_view path);

// Characters in a path that Windows opens without the long-path prefix (MAX_PATH less the null).
constexpr size_t LONGEST_PATH = 259;

// `name` in the macro folder, with ".kmc" appended unless it already ends in it (any case), the
// name shortened until the path fits LONGEST_PATH.
std::wstring MacroPathForName(std::wstring_view name);
// The output name for a macro file opened from anywhere: its file name without folder and ".kmc".
std::wstring OutputNameFromPath(std::wstring_view path);
