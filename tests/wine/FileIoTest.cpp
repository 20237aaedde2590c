// The atomic save on the real file system under Wine.
#include "storage/FileIo_win.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

std::wstring TestFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"korva-fileio";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

size_t FilesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    size_t count = 0;
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++count;
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return count;
}

} // namespace

TEST(FileIo, AtomicWriteReplacesAndFailureKeepsTheOldFile) {
    std::wstring folder = TestFolder();
    std::wstring target = folder + L"\\a.kmc";
    ASSERT_TRUE(WriteFileAtomically(target, "first\r\n"));
    ASSERT_TRUE(WriteFileAtomically(target, "second\r\n"));
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "second\r\n");

    // A read-only target cannot be replaced: false, old bytes kept, no temporary file left behind.
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteFileAtomically(target, "third\r\n"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "second\r\n");
    EXPECT_EQ(FilesIn(folder), 1u);

    // A folder where the file should be.
    std::wstring blocked = folder + L"\\blocked.kmc";
    CreateDirectoryW(blocked.c_str(), nullptr);
    EXPECT_FALSE(WriteFileAtomically(blocked, "x"));
    EXPECT_EQ(FilesIn(folder), 1u);
    RemoveDirectoryW(blocked.c_str());
    DeleteFileW(target.c_str());
    EXPECT_FALSE(ReadWholeFile(target, bytes));
}
