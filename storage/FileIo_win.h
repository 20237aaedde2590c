// Whole-file reading and the atomic replace that every save goes through.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

void CreateFixedFolders();
bool PathExists(const std::wstring& path);
// Reads a regular file whole; false when it cannot be opened or read, is a device or a pipe
// (ERROR_BAD_FILE_TYPE) or holds more than `maxBytes` (ERROR_FILE_TOO_LARGE, found before reading).
bool ReadWholeFile(const std::wstring& path, std::string& bytes, size_t maxBytes = SIZE_MAX);
// Whether the file begins with one of `heads`, read from its first bytes only, so that a large
// file picked by mistake under "All Files" is not read whole just to be refused. A file that begins
// otherwise leaves ERROR_BAD_FORMAT in GetLastError.
bool FileStartsWithOneOf(const std::wstring& path, std::initializer_list<std::string_view> heads);
// The full form of `path`, which is what must then be opened, when it names a file on a drive letter
// of a local or removable volume; empty for network shares (also behind a drive letter), device and
// pipe paths and whatever else does not resolve to a drive letter. Opened in its full form, a
// \??\UNC\... name stays a (bad) name on the current drive and never reaches another machine.
std::wstring LocalFilePath(const std::wstring& path);
// Why a file could not be read, for a message box: this program's words for the errors above and
// ERROR_BAD_NETPATH (a path LocalFilePath refused), the system's for the others.
std::wstring FileErrorText(unsigned long error);
// Writes `bytes` to a temporary file in the target's folder, checks that every byte was written and
// the file closed cleanly, then replaces the target in one step. On any failure the old file is
// left untouched, the temporary file removed, and the result is false with the system's reason
// in GetLastError.
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes);
// Deletes the temporary files that saves cut off by a crash or a kill left in `folder`. Only
// files older than a minute go: a younger one may be a save another instance is making now.
void RemoveLeftoverTemporaryFiles(std::wstring_view folder);
