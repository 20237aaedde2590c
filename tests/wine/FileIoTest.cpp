// The atomic save, the removal of leftover temporaries and the profile's files on the real file
// system under Wine.
#include "app/SingleInstance_win.h"
#include "macro/Recorder_win.h"
#include "macro/Undo.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "storage/MacroFiles_win.h"
#include "storage/ProfileFile.h"
#include "storage/ProfileFiles_win.h"
#include "storage/TextCodec.h"
#include "tests/wine/WineTestSupport.h"

#include <bit>
#include <tuple>

TEST(FileIo, RefusedSaveKeepsTheOldFileAndLeavesNoTemporaryAndLeftoverTemporariesGoOnlyWhenOld) {
    std::wstring folder = TempPath(L"korva-fileio"), target = folder + L"\\a.kmc";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(WriteFileAtomically(target, "second\r\n"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(WriteFileAtomically(target, "third\r\n"));
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    std::string bytes;
    ASSERT_TRUE(ReadWholeFile(target, bytes));
    EXPECT_EQ(bytes, "second\r\n");
    DeleteFileW(target.c_str());
    // Temporaries left by an earlier save go only when old.
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
        auto written = std::bit_cast<FILETIME>(std::bit_cast<uint64_t>(now) - ageSeconds * 10'000'000);
        SetFileTime(handle, nullptr, nullptr, &written);
        CloseHandle(handle);
    }
    RemoveLeftoverTemporaryFiles(folder);
    for (auto [name, ageSeconds, kept] : files) {
        EXPECT_EQ(GetFileAttributesW((folder + L"\\" + name).c_str()) != INVALID_FILE_ATTRIBUTES, kept)
            << name;
        DeleteFileW((folder + L"\\" + name).c_str());
    }
    EXPECT_TRUE(RemoveDirectoryW(folder.c_str())) << "a temporary was left behind";
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

    std::wstring folder = TempPath(L"korva-\u0418\u0432\u0430\u043d"), macro = folder + L"\\\u5b8f.kmc";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(WriteFileAtomically(macro, "KORVAMACRO_V1\r\n"));
    app.profileMacroPaths[3] = macro;
    ASSERT_TRUE(SaveProfileToPath(profile));
    app.profileMacroPaths[3].clear();
    ASSERT_TRUE(LoadProfileFromPath(profile)); // the path as the file names it
    std::string mapped;
    EXPECT_TRUE(ReadWholeFile(app.profileMacroPaths[3], mapped)) << EncodeLatin1(app.profileMacroPaths[3]);
    EXPECT_EQ(mapped, "KORVAMACRO_V1\r\n");
    DeleteFileW(profile.c_str());
    DeleteFileW(macro.c_str());
}

TEST(FileIo, AHandedOverFileEndsTheRecordingFirstAndOnlyLocalRegularFilesUpToTheLimitAreRead) {
    CreateTestMainWindow();
    std::wstring path = TempPath(L"korva-handed.kmc");
    ASSERT_TRUE(WriteFileAtomically(path, "KORVAMACRO_V1\r\nMACRO_COUNT 1\r\nEV 3 25 0 0 0 70\r\n"));
    ToggleRecording();
    RecordKeyPress('A');
    app.pendingOpenPath = path;
    OpenPendingMacro();
    EXPECT_FALSE(app.recording) << "the file is not appended to a running recording";
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{{Key, 0, 0, 0, 70, 25}}));
    ASSERT_TRUE(UndoMacroChange());
    ASSERT_FALSE(app.events.empty());
    EXPECT_EQ(app.events.front().vk, 'A' | KEY_HELD) << "the recording is an undo step";

    for (const wchar_t* refused : {L"\\\\host\\share\\a.kmc", L"\\\\.\\pipe\\korva-test", L"//host/a.kmc"})
        EXPECT_EQ(LocalFilePath(refused), L"") << refused;
    // A pipe whose other end never writes would block the first read for good.
    HANDLE pipe = CreateNamedPipeW(L"\\\\.\\pipe\\korva-test", PIPE_ACCESS_DUPLEX, 0, 1, 0, 0, 0, nullptr);
    MacroFileContents contents;
    EXPECT_FALSE(ReadMacroAt(L"\\\\.\\pipe\\korva-test", contents));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FILE_TYPE));
    CloseHandle(pipe);
    // One byte over the limit is refused by its size, before a byte is read.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    LARGE_INTEGER size{.QuadPart = static_cast<LONGLONG>(MACRO_FILE_MAX_BYTES) + 1};
    EXPECT_TRUE(SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file));
    CloseHandle(file);
    EXPECT_FALSE(ReadMacroAt(path, contents));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_TOO_LARGE));
    DeleteFileW(path.c_str());
}
