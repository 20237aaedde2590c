// A profile key pressed inside the real keyboard hook procedure: a ready slot's macro is swapped in
// without reading its file, and a file changed on disk is read fresh.
#include "input/KeyboardHook_win.h"
#include "storage/FileIo_win.h"
#include "storage/ReadyMacros_win.h"
#include "tests/wine/WineTestSupport.h"

namespace {

LRESULT PressKey(DWORD vk) {
    KBDLLHOOKSTRUCT key{};
    key.vkCode = vk;
    LRESULT down = KeyboardHookProc(HC_ACTION, WM_KEYDOWN, reinterpret_cast<LPARAM>(&key));
    key.flags = LLKHF_UP;
    KeyboardHookProc(HC_ACTION, WM_KEYUP, reinterpret_cast<LPARAM>(&key));
    return down;
}

std::wstring WriteTestMacro(int keyCount) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string text = "KORVAMACRO_V1\r\nMACRO_COUNT " + std::to_string(keyCount) + "\r\n";
    for (int i = 0; i < keyCount; ++i)
        text += "EV 3 20 0 0 0 " + std::to_string(65 + i) + "\r\n";
    std::wstring path = std::wstring(temp) + L"keys_ready.kmc";
    WriteFileAtomically(path, text);
    return path;
}

using ProfileKeysTest = InputHandlerTest;

} // namespace

TEST_F(ProfileKeysTest, AReadySlotSwitchesWithoutReadingItsFileAndAChangedFileIsReadFresh) {
    std::wstring path = WriteTestMacro(5);
    app.profileSlots[6] = {true, {HotkeyKeyboard, VK_F7}, L"five"};
    app.profileMacroPaths[6] = path;
    PrepareReadyMacros();
    for (int round = 0; round < 2; ++round) { // the second from the copy made again after the first
        ReplaceEvents({});
        // Held open without sharing: the file cannot be read, its size and time still can.
        HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(PressKey(VK_F7), 1);
        CloseHandle(held);
        EXPECT_EQ(app.events.size(), 5u) << round;
        EXPECT_EQ(SendMessageW(app.eventList, LB_GETCOUNT, 0, 0), 5);
        PumpMessages();
    }
    WriteTestMacro(3);
    PressKey(VK_F7);
    EXPECT_EQ(app.events.size(), 3u);
    DeleteFileW(path.c_str());
}
