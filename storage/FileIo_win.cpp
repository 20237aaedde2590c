// File reading and atomic saving for the macro and profile files.
#include "storage/FileIo_win.h"

#include "storage/Folders.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>

namespace {

// GetTempFileNameW makes "kmcXXXX.tmp" from this prefix.
constexpr const wchar_t* TEMPORARY_PREFIX = L"kmc";
// One minute in the 100 ns ticks of a FILETIME.
constexpr int64_t LEFTOVER_AGE_TICKS = 60LL * 10'000'000;

int64_t FileTimeTicks(const FILETIME& time) {
    return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

} // namespace

void CreateFixedFolders() {
    CreateDirectoryW(std::wstring(ROOT_FOLDER).c_str(), nullptr);
    CreateDirectoryW(std::wstring(MACRO_FOLDER).c_str(), nullptr);
    CreateDirectoryW(std::wstring(PROFILE_FOLDER).c_str(), nullptr);
}

bool PathExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool ReadWholeFile(const std::wstring& path, std::string& bytes, size_t maxBytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bytes.clear();
    char buffer[64 * 1024];
    DWORD got = 0;
    bool ok = true;
    while (ok) {
        if (!ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) {
            ok = false;
            break;
        }
        if (got == 0) break;
        // The file may grow while it is read, so the limit is tested on what was read.
        ok = got <= maxBytes - bytes.size();
        if (ok) bytes.append(buffer, got);
    }
    CloseHandle(file);
    return ok;
}

bool FileStartsWithOneOf(const std::wstring& path, std::initializer_list<std::string_view> heads) {
    size_t longest = 0;
    for (std::string_view head : heads)
        longest = std::max(longest, head.size());
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string start(longest, '\0');
    DWORD got = 0;
    bool read = ReadFile(file, start.data(), static_cast<DWORD>(longest), &got, nullptr);
    CloseHandle(file);
    if (!read) return false;
    start.resize(got);
    for (std::string_view head : heads) {
        if (std::string_view(start).starts_with(head)) return true;
    }
    return false;
}

bool WriteFileAtomically(const std::wstring& path, std::string_view bytes) {
    // A read-only file or a folder at the target is not replaced. Windows refuses the move
    // below for both; Wine would replace a read-only file, so test it here.
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    size_t slash = path.find_last_of(L"\\/");
    std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash);
    wchar_t temporary[MAX_PATH + 16] = {};
    if (!GetTempFileNameW(folder.c_str(), TEMPORARY_PREFIX, 0, temporary)) return false;

    HANDLE file =
        CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        DeleteFileW(temporary);
        SetLastError(error);
        return false;
    }
    bool ok = true;
    size_t written = 0;
    while (ok && written < bytes.size()) {
        DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - written, 1 << 20));
        DWORD done = 0;
        ok = WriteFile(file, bytes.data() + written, chunk, &done, nullptr) && done == chunk;
        written += done;
    }
    ok = ok && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) {
        DWORD error = GetLastError(); // the caller reports it; the clean-up must not replace it
        DeleteFileW(temporary);
        SetLastError(error);
    }
    return ok;
}

void RemoveLeftoverTemporaryFiles(std::wstring_view folder) {
    std::wstring base(folder);
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((base + L"\\" + TEMPORARY_PREFIX + L"*.tmp").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (FileTimeTicks(now) - FileTimeTicks(data.ftLastWriteTime) < LEFTOVER_AGE_TICKS) continue;
        DeleteFileW((base + L"\\" + data.cFileName).c_str());
    } while (FindNextFileW(find, &data));
    FindClose(find);
}
