// A profile key pressed inside the real keyboard hook procedure: the slot's macro is loaded at
// once, but its rows are made and the list box filled only on the next turn of the message loop.
#include "app/ControlTable.h"
#include "input/KeyboardHook_win.h"
#include "macro/EventList_win.h"
#include "storage/FileIo_win.h"
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

// Writes a macro of `keyCount` Key events into the temporary folder; returns its path.
std::wstring WriteTestMacro(const wchar_t* name, int keyCount) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::string text = "KORVAMACRO_V1\r\nMACRO_COUNT " + std::to_string(keyCount) + "\r\n";
    for (int i = 0; i < keyCount; ++i)
        text += "EV 3 20 0 0 0 " + std::to_string(65 + i) + "\r\n";
    std::wstring path = std::wstring(temp) + name;
    WriteFileAtomically(path, text);
    return path;
}

} // namespace

TEST(ProfileKeys, RowsComeOnTheNextMessageAndTicksOfTheOldListReachNothing) {
    HWND window = CreateTestMainWindow();
    std::wstring five = WriteTestMacro(L"keys_five.kmc", 5);
    app.profileSlots[6] = {true, {HotkeyKeyboard, VK_F7}, L"five"};
    app.profileMacroPaths[6] = five;
    app.events = {{Key, 0, 0, 0, 0x41, 0}, {Key, 0, 0, 0, 0x42, 0}};
    RebuildEventList(); // outside the hook: listed at once
    auto listed = [] { return SendMessageW(app.eventList, LB_GETCOUNT, 0, 0); };
    ASSERT_EQ(listed(), 2);

    EXPECT_EQ(PressKey(VK_F7), 1);
    EXPECT_EQ(app.activeProfile, 6);
    EXPECT_EQ(app.events.size(), 5u);
    EXPECT_TRUE(app.eventListRows.empty());
    EXPECT_EQ(listed(), 2);
    SendMessageW(app.allCheckbox, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_ALL, BN_CLICKED), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_DELETE, BN_CLICKED), 0);
    EXPECT_EQ(app.events.size(), 5u) << "ticks of the old list reach nothing";

    PumpMessages();
    EXPECT_EQ(app.eventListRows.size(), 5u);
    EXPECT_EQ(listed(), 5);
    EXPECT_FALSE(app.eventListFillPending);
    DeleteFileW(five.c_str());
    DestroyTestMainWindow();
}
