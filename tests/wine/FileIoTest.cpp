// The atomic save, the removal of leftover temporaries and the profile's macro paths on the real
// file system under Wine.
#include "app/AppState.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileFiles_win.h"
#include "storage/TextCodec.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

std::wstring TestFolder(const wchar_t* name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + name;
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

size_t FilesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &data);
    size_t count = 0;
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &data))
        count += !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
    return count;
}

} // namespace

TEST(FileIo, RefusedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    std::wstring folder = TestFolder(L"korva-fileio");
    std::wstring target = folder + L"\\a.kmc";
    ASSERT_TRUE(WriteFileAtomically(target, "second\r\n"));

    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteFileAtomically(target, "third\r\n"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "second\r\n");
    EXPECT_EQ(FilesIn(folder), 1u);

    std::wstring blocked = folder + L"\\blocked.kmc"; // a folder where the file should be
    CreateDirectoryW(blocked.c_str(), nullptr);
    EXPECT_FALSE(WriteFileAtomically(blocked, "x"));
    EXPECT_EQ(FilesIn(folder), 1u);
    RemoveDirectoryW(blocked.c_str());
    DeleteFileW(target.c_str());
}

TEST(FileIo, LeftoverTemporaryFilesGoOnlyWhenOld) {
    std::wstring folder = TestFolder(L"korva-leftovers");
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    auto put = [&](const wchar_t* name, int64_t ageSeconds) {
        std::wstring path = folder + L"\\" + name;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ULARGE_INTEGER when{{now.dwLowDateTime, now.dwHighDateTime}};
        when.QuadPart -= static_cast<uint64_t>(ageSeconds * 10'000'000);
        FILETIME written{when.LowPart, when.HighPart};
        SetFileTime(file, nullptr, nullptr, &written);
        CloseHandle(file);
    };
    put(L"kmc1A2B.tmp", 3600);  // left by a killed save an hour ago
    put(L"KMC3C4D.TMP", 120);   // names are matched in any case
    put(L"kmc5E6F.tmp", 5);     // may be a save in progress
    put(L"kmc7A8B.tmp", -3600); // dated ahead by a skewed clock
    put(L"notes.tmp", 3600);    // not ours
    put(L"kmc1.kmc", 3600);     // a macro, whatever its name
    RemoveLeftoverTemporaryFiles(folder);
    EXPECT_EQ(FilesIn(folder), 4u);
    for (const wchar_t* kept : {L"kmc5E6F.tmp", L"kmc7A8B.tmp", L"notes.tmp", L"kmc1.kmc"}) {
        std::wstring path = folder + L"\\" + kept;
        EXPECT_NE(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES) << kept;
        DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

TEST(FileIo, ProfileLoaderRefusesOversizedAndForeignFilesLeavingTheProfile) {
    ResetAppState();
    CreateFixedFolders();
    std::wstring path = std::wstring(PROFILE_FOLDER) + L"\\korva-loader-test.kpf";
    std::string profile = "KORVAPROFILE_V3\r\n\r\nP 0 1 1 65 taken\r\n";
    for (size_t size : {PROFILE_FILE_MAX_BYTES + 1, profile.size()}) {
        std::string bytes = profile;
        bytes.resize(size, ' ');
        for (std::string text : {std::string("NOT") + bytes, bytes}) {
            ASSERT_TRUE(WriteFileAtomically(path, text));
            bool fits = size <= PROFILE_FILE_MAX_BYTES && text == bytes;
            EXPECT_EQ(LoadProfileFromPath(path), fits) << size;
            EXPECT_EQ(app.profileSlots[0].name, fits ? L"taken" : L"") << size;
        }
    }
    DeleteFileW(path.c_str());
}

TEST(FileIo, ProfileMapsAMacroOutsideOneByteTextByItsShortPath) {
    ResetAppState();
    CreateFixedFolders();
    std::wstring macro = TestFolder(L"korva-\u0418\u0432\u0430\u043d") + L"\\\u5b8f.kmc";
    ASSERT_TRUE(WriteFileAtomically(macro, "KORVAMACRO_V1\r\n"));
    app.profileMacroPaths[3] = macro;
    std::wstring profile = std::wstring(PROFILE_FOLDER) + L"\\short-paths.kpf";
    ASSERT_TRUE(SaveProfileToPath(profile));

    std::string text, mapped;
    ASSERT_TRUE(ReadWholeFile(profile, text));
    size_t map = text.find("MAP 3 ");
    ASSERT_NE(map, std::string::npos);
    std::string line = text.substr(map + 6, text.find('\r', map) - map - 6);
    EXPECT_TRUE(ReadWholeFile(DecodeLatin1(line), mapped)) << line;
    EXPECT_EQ(mapped, "KORVAMACRO_V1\r\n");
    DeleteFileW(profile.c_str());
    DeleteFileW(macro.c_str());
}
