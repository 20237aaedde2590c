// Whole-file reading and the atomic replace that every save goes through.
#pragma once

#include <string>
#include <string_view>

void CreateFixedFolders();
bool PathExists(const std::wstring& path);
// Reads a file whole; false when it cannot be opened or read.
bool ReadWholeFile(const std::wstring& path, std::string& bytes);
// Writes `bytes` to a temporary file in the target's folder, checks that every byte was written and
// the file closed cleanly, then replaces the target in one step. On any failure the old file is
// left untouched, the temporary file removed, and the result is false with the system's reason
// in GetLastError.
bool WriteFileAtomically(const std::wstring& path, std::string_view bytes);
// Deletes the temporary files that saves cut off by a crash or a kill left in `folder`. Only
// files older than a minute go: a younger one may be a save another instance is making now.
void RemoveLeftoverTemporaryFiles(std::wstring_view folder);
