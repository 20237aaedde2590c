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

// Only a regular file is read: the first read from a pipe or a device whose other end never
// writes would block the interface thread, and with it the hooks and every hotkey.
HANDLE OpenFileToRead(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || GetFileType(file) == FILE_TYPE_DISK) return file;
    CloseHandle(file);
    SetLastError(ERROR_BAD_FILE_TYPE);
    return INVALID_HANDLE_VALUE;
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
    HANDLE file = OpenFileToRead(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && static_cast<uint64_t>(size.QuadPart) > maxBytes) {
        CloseHandle(file);
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    bytes.clear();
    char buffer[64 * 1024];
    DWORD got = 0;
    DWORD error = ERROR_SUCCESS;
    try {
        while (error == ERROR_SUCCESS) {
            if (!ReadFile(file, buffer, sizeof(buffer), &got, nullptr)) {
                error = GetLastError();
                break;
            }
            if (got == 0) break;
            // The file may grow while it is read, so the limit is tested on what was read.
            if (got > maxBytes - bytes.size())
                error = ERROR_FILE_TOO_LARGE;
            else
                bytes.append(buffer, got);
        }
    } catch (...) { // out of memory: the caller says so
        CloseHandle(file);
        throw;
    }
    CloseHandle(file);
    SetLastError(error);
    return error == ERROR_SUCCESS;
}

bool FileStartsWithOneOf(const std::wstring& path, std::initializer_list<std::string_view> heads) {
    size_t longest = 0;
    for (std::string_view head : heads)
        longest = std::max(longest, head.size());
    HANDLE file = OpenFileToRead(path);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string start(longest, '\0');
    DWORD got = 0;
    bool read = ReadFile(file, start.data(), static_cast<DWORD>(longest), &got, nullptr);
    DWORD error = GetLastError();
    CloseHandle(file);
    SetLastError(error);
    if (!read) return false;
    start.resize(got);
    for (std::string_view head : heads) {
        if (std::string_view(start).starts_with(head)) return true;
    }
    SetLastError(ERROR_BAD_FORMAT);
    return false;
}

std::wstring LocalFilePath(const std::wstring& path) {
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length > full.size()) {
        full.resize(length);
        length = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    }
    if (path.empty() || length == 0 || length > full.size()) return L"";
    full.resize(length);
    if (!IsDriveLetterPath(full)) return L"";
    // A drive letter may stand for a network share; asking costs nothing, the share is not contacted.
    switch (GetDriveTypeW(full.substr(0, 3).c_str())) {
    case DRIVE_FIXED:
    case DRIVE_REMOVABLE:
    case DRIVE_CDROM:
    case DRIVE_RAMDISK:
        return full;
    default:
        return L"";
    }
}

std::wstring FileErrorText(unsigned long error) {
    switch (error) {
    case ERROR_BAD_FILE_TYPE:
        return L"It is a device or a pipe, not a file.";
    case ERROR_BAD_FORMAT:
        return L"It is not a file of this kind (its first line is not the right one).";
    case ERROR_NOT_ENOUGH_MEMORY:
        return L"There is not enough memory to load it.";
    case ERROR_BAD_NETPATH:
        return L"It is not on a drive of this computer (a network share or a device path); such paths "
               L"are not opened.";
    default:
        break;
    }
    wchar_t* reason = nullptr;
    FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                       FORMAT_MESSAGE_IGNORE_INSERTS,
                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&reason), 0, nullptr);
    if (!reason) return L"Error " + std::to_wstring(error);
    std::wstring text = reason;
    LocalFree(reason);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return text;
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
