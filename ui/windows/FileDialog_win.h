// The Open and Save dialogs of every file command, set up in one place.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

constexpr wchar_t MACRO_FILTER[] = L"Korva Macro Files (*.kmc)\0*.kmc\0All Files (*.*)\0*.*\0";

// Shows the Open dialog over `folder` for an existing file, or with `saveExtension` the Save dialog,
// which asks before replacing a file and adds the extension to a bare name. False when cancelled.
bool AskForFilePath(HWND owner, const wchar_t* filter, std::wstring_view folder, std::wstring& path,
                    const wchar_t* saveExtension = nullptr);
