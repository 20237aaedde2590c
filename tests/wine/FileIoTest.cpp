// The atomic save, the removal of leftover temporaries and the profile's files on the real file
// system under Wine.
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileFiles_win.h"
#include "storage/TextCodec.h"
#include "tests/wine/WineTestSupport.h"

#include <tuple>

namespace {

std::wstring TestFolder(const wchar_t* name) {
    std::wstring folder = TempPath(name);
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

} // namespace

TEST(FileIo, RefusedSaveKeepsTheOldFileAndLeavesNoTemporary) {
    std::wstring folder = TestFolder(L"korva-fileio"), target = folder + L"\\a.kmc";
    ASSERT_TRUE(WriteFileAtomically(target, "second\r\n"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteFileAtomically(target, "third\r\n"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "second\r\n");
    DeleteFileW(target.c_str());
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "a temporary was left behind";
}

TEST(FileIo, LeftoverTemporaryFilesGoOnlyWhenOld) {
    std::wstring folder = TestFolder(L"korva-leftovers");
    const std::tuple<const wchar_t*, int64_t, bool> files[] = {
        {L"kmc1A2B.tmp", 3600, false}, // left by a killed save an hour ago
        {L"KMC3C4D.TMP", 120, false},  // names are matched in any case
        {L"kmc5E6F.tmp", 5, true},     // may be a save in progress
        {L"kmc7A8B.tmp", -3600, true}, // dated ahead by a skewed clock
        {L"notes.tmp", 3600, true},    // not ours
        {L"kmc1.kmc", 3600, true}};    // a macro, whatever its name
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    for (auto [name, ageSeconds, kept] : files) {
        HANDLE handle = CreateFileW((folder + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    0, nullptr);
        ULARGE_INTEGER when{{now.dwLowDateTime, now.dwHighDateTime}};
        when.QuadPart -= static_cast<uint64_t>(ageSeconds * 10'000'000);
        FILETIME written{when.LowPart, when.HighPart};
        SetFileTime(handle, nullptr, nullptr, &written);
        CloseHandle(handle);
    }
    RemoveLeftoverTemporaryFiles(folder);
    for (auto [name, ageSeconds, kept] : files) {
        EXPECT_EQ(GetFileAttributesW((folder + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES, kept)
            << name;
        DeleteFileW((folder + L"\\" + name).c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

TEST(FileIo, ProfileLoaderRefusesAnOversizedFileAndMapsAMacroOutsideOneByteTextByItsShortPath) {
    ResetAppState();
    CreateFixedFolders();
    std::wstring profile = std::wstring(PROFILE_FOLDER) + L"\\korva-loader-test.kpf";
    std::string text = "KORVAPROFILE_V3\r\n\r\nP 0 1 1 65 taken\r\n";
    for (size_t size : {PROFILE_FILE_MAX_BYTES + 1, text.size()}) {
        ASSERT_TRUE(WriteFileAtomically(profile, text + std::string(size - text.size(), ' ')));
        bool fits = size <= PROFILE_FILE_MAX_BYTES;
        EXPECT_EQ(LoadProfileFromPath(profile), fits) << size;
        EXPECT_EQ(app.profileSlots[0].name, fits ? L"taken" : L"") << size;
    }

    std::wstring macro = TestFolder(L"korva-\u0418\u0432\u0430\u043d") + L"\\\u5b8f.kmc";
    ASSERT_TRUE(WriteFileAtomically(macro, "KORVAMACRO_V1\r\n"));
    app.profileMacroPaths[3] = macro;
    ASSERT_TRUE(SaveProfileToPath(profile));
    std::string saved, mapped;
    ASSERT_TRUE(ReadWholeFile(profile, saved));
    size_t map = saved.find("MAP 3 ");
    ASSERT_NE(map, std::string::npos);
    std::string line = saved.substr(map + 6, saved.find('\r', map) - map - 6);
    EXPECT_TRUE(ReadWholeFile(DecodeLatin1(line), mapped)) << line;
    EXPECT_EQ(mapped, "KORVAMACRO_V1\r\n");
    DeleteFileW(profile.c_str());
    DeleteFileW(macro.c_str());
}
