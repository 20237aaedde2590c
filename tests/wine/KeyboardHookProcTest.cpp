// The real hook procedure called with KBDLLHOOKSTRUCTs: what it swallows, what it writes into the
// real controls and the overlay's switch label, and the profile keys' ready macros; and the hook
// watchdog, which puts back a hook that Windows removed when raw input shows a press it did not see.
#include "ui/windows/ControlTable.h"
#include "input/MouseHook_win.h"
#include "storage/FileIo_win.h"
#include "storage/MacroFiles_win.h"
#include "storage/ReadyMacros_win.h"
#include "tests/wine/WineTestSupport.h"
#include "macro/Undo.h"

namespace {

LRESULT SendKey(WPARAM message, uint32_t vk, int code = HC_ACTION, ULONG_PTR extraInfo = 0) {
    KBDLLHOOKSTRUCT key{vk, 0, LLKHF_INJECTED, 0, extraInfo}; // the injected flag must not matter
    return KeyboardHookProc(code, message, reinterpret_cast<LPARAM>(&key));
}
const auto Press = [](uint32_t vk) { return SendKey(WM_KEYDOWN, vk); };
const auto Release = [](uint32_t vk) { return SendKey(WM_KEYUP, vk); };

// A stopped clock and a stand-in for the overlay's switch label (the overlay is a window of its own).
class KeyboardHookProcTest : public ::testing::Test {
  protected:
    void SetUp() override {
        HWND window = CreateTestMainWindow();
        app.clock = [] { return uint64_t{20'000}; };
        overlay = app.overlayMasterLabel =
            CreateWindowExW(0, L"STATIC", L"ON", WS_CHILD, 0, 0, 40, 20, window, nullptr, nullptr, nullptr);
    }
    void TearDown() override { app.playing = false; }
    // The switch label, the overlay's switch label and the hold state label.
    std::wstring Labels() {
        return WindowText(app.masterLabel) + L"/" + WindowText(overlay) + L"/" +
               WindowText(app.holdStateLabel);
    }
    HWND overlay = nullptr;
};
using ProfileKeysTest = KeyboardHookProcTest;

} // namespace

TEST_F(KeyboardHookProcTest, TheHoldOffKeyStopsEverythingUntilReleased) {
    app.holdOffHotkey = {HotkeyKeyboard, VK_SPACE};
    app.recordHotkey = {HotkeyKeyboard, VK_F6}; // captured as in the test below
    EXPECT_EQ(Press(VK_F6), 1);
    ASSERT_TRUE(app.recording);
    Release(VK_F6);
    Press('A');
    Release('A');
    Press(VK_LSHIFT); // still held when the hold-off key stops the recording
    app.playing = true;
    EXPECT_EQ(Press(VK_SPACE), 1);
    EXPECT_EQ(Labels(), L"ON/OFF/OFF");
    EXPECT_FALSE(app.recording);
    // Held presses and releases, neither F6 nor the hold-off key, Shift let go at the stop.
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{{Key, 0, 0, 0, KEY_HELD | 'A', 0},
                                                   {KeyUp, 0, 0, 0, 'A', 0},
                                                   {Key, 0, 0, 0, KEY_HELD | VK_LSHIFT, 0},
                                                   {KeyUp, 0, 0, 0, VK_LSHIFT, 0}}));
    EXPECT_TRUE(app.stopRequested);

    app.stopRequested = false;
    SetWindowTextW(app.holdStateLabel, L"held");
    EXPECT_EQ(Press(VK_SPACE), 1); // auto-repeat
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(Press(VK_F6), 1); // swallowed, refused
    EXPECT_FALSE(app.recording);
    // F4 off and on again while held: the switch label follows, the overlay's stays OFF.
    Press(VK_F4_KEY);
    Release(VK_F4_KEY);
    EXPECT_EQ(Labels(), L"OFF/OFF/held");
    EXPECT_EQ(SendKey(WM_SYSKEYDOWN, VK_F4_KEY), 1); // Alt held down
    EXPECT_EQ(Labels(), L"ON/OFF/held");
    EXPECT_EQ(SendKey(WM_KEYDOWN, VK_F4_KEY, 3), 0); // other hook codes are passed on

    EXPECT_EQ(Release(VK_SPACE), 1);
    EXPECT_EQ(Labels(), L"ON/ON/ON");
    EXPECT_FALSE(app.recording); // nothing restarts
}

TEST_F(ProfileKeysTest, AReadySlotSwitchesWithoutReadingItsFileAndAChangedFileIsReadFresh) {
    std::wstring path = TempPath(L"keys_ready.kmc");
    auto write = [&](int keyCount) {
        std::string text = "KORVAMACRO_V1\r\nMACRO_COUNT " + std::to_string(keyCount) + "\r\n";
        for (int i = 0; i < keyCount; ++i)
            text += "EV 3 20 0 0 0 " + std::to_string(65 + i) + "\r\n";
        ASSERT_TRUE(WriteFileAtomically(path, text));
    };
    write(5);
    app.profileSlots[6] = {true, {HotkeyKeyboard, VK_F7}, L"five"};
    app.profileMacroPaths[6] = path;
    PrepareReadyMacros();
    for (int round = 0; round < 2; ++round) { // the second from the copy made again after the first
        ReplaceEvents({});
        // Held open without sharing: the file cannot be read, its size and time still can.
        HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(Press(VK_F7), 1);
        Release(VK_F7);
        CloseHandle(held);
        EXPECT_EQ(app.events.size(), 5u) << round;
        PumpMessages();
    }
    write(3);
    Press(VK_F7);
    EXPECT_EQ(app.events.size(), 3u);
    // A slot whose file is missing: label and macro stay, the status line names the file.
    std::wstring missing = TempPath(L"keys_missing.kmc");
    app.profileSlots[2] = {true, {HotkeyKeyboard, VK_F9}, L"gone"};
    app.profileMacroPaths[2] = missing;
    Press(VK_F9);
    EXPECT_EQ(WindowText(app.profileLabel), L"P7 - five");
    EXPECT_EQ(app.events.size(), 3u);
    EXPECT_EQ(WindowText(app.statusLabel), L"Cannot switch to P3 - gone: " + missing + L" is missing");
    DeleteFileW(path.c_str());
}

TEST(HookWatchdog, LostHookIsReinstalledAndHotkeysWorkAgain) {
    InputTurn turn;
    SetForegroundWindow(CreateTestMainWindow(true)); // as in the playback test, so that raw keys come
    ASSERT_NE(app.keyboardHook, nullptr);
    // As if Windows had dropped the hook after a slow call: the handle stays, the hook is gone.
    UnhookWindowsHookEx(app.keyboardHook);
    app.lastHookCallTick = 0;
    app.heldModifierKeys = 0xFF; // the releases of the modifiers went by the lost hook
    INPUT keys[2] = {{INPUT_KEYBOARD, {.ki = {'Q', 0, 0, 0, 0}}},
                     {INPUT_KEYBOARD, {.ki = {'Q', 0, KEYEVENTF_KEYUP, 0, 0}}}};
    SendInput(2, keys, sizeof(INPUT)); // unhooked: the press reaches only raw input
    ASSERT_TRUE(PumpUntil([] { return app.hookReinstallCount > 0; }));
    EXPECT_EQ(app.heldModifierKeys, 0u);

    app.recordHotkeyCapture = true; // the new hook sees the next press and captures it
    SendInput(2, keys, sizeof(INPUT));
    EXPECT_TRUE(PumpUntil([] { return app.recordHotkey == HotkeyBinding{HotkeyKeyboard, 'Q'}; }));
    EXPECT_EQ(app.hookReinstallCount, 1u); // a live hook is left alone
}

TEST_F(KeyboardHookProcTest, HotkeyBoxesTakeChordsAndEscapeAndTheMouseHookWithholdsOnlyBoundButtons) {
    app.recordHotkey = {HotkeyKeyboard, VK_F6};
    SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(ID_RECORD_HOTKEY_EDIT, EN_SETFOCUS), 0);
    EXPECT_EQ(Press(VK_ESCAPE), 1); // gives up: the binding stays, and shows again over the prompt
    EXPECT_EQ(WindowText(app.recordHotkeyEdit) + L"/" + std::to_wstring(app.recordHotkeyCapture), L"F6/0");
    SendMessageW(app.mainWindow, WM_COMMAND, MAKEWPARAM(ID_RECORD_HOTKEY_EDIT, EN_SETFOCUS), 0);
    EXPECT_EQ(Press(VK_RCONTROL), 1);
    EXPECT_EQ(Press('Q'), 1);
    Release('Q');
    Release(VK_RCONTROL);
    EXPECT_EQ(WindowText(app.recordHotkeyEdit), L"Ctrl+Q");
    EXPECT_EQ(Press(VK_LCONTROL), 0);
    EXPECT_EQ(Press('Q'), 1) << "only the chord's key is swallowed";
    EXPECT_TRUE(app.recording);
    EXPECT_EQ(SendKey(WM_KEYDOWN, 'Q', HC_ACTION, INJECTED_INPUT_MARK), 0);
    EXPECT_TRUE(app.recording) << "a replayed key is never a hotkey";

    // The middle button as the hold-off key: the hook runs while it is bound and hands its physical
    // presses over instead of passing them on; injected ones and other buttons pass.
    app.holdOffHotkey = {HotkeyMouseButton, BUTTON_PRESS_FLAGS[2]};
    SyncMouseHook();
    ASSERT_NE(app.mouseHookThread, nullptr);
    auto click = [](WPARAM message, DWORD flags) {
        MSLLHOOKSTRUCT mouse{{}, 0, flags, 0, 0};
        return MouseHookProc(HC_ACTION, message, reinterpret_cast<LPARAM>(&mouse));
    };
    EXPECT_EQ(click(WM_MBUTTONDOWN, LLMHF_INJECTED), 0);
    EXPECT_EQ(click(WM_LBUTTONDOWN, 0), 0);
    EXPECT_EQ(click(WM_MBUTTONDOWN, 0), 1);
    EXPECT_TRUE(PumpUntil([] { return !app.holdStateOn; }));
    EXPECT_FALSE(app.recording);
    EXPECT_EQ(click(WM_MBUTTONUP, 0), 1);
    EXPECT_TRUE(PumpUntil([] { return app.holdStateOn.load(); }));
    app.holdOffHotkey = {};
    SyncMouseHook();
    EXPECT_EQ(app.mouseHookThread, nullptr);
}

TEST_F(KeyboardHookProcTest, AShutdownKeepsTheChangedMacroInAFileThatTheNextStartNames) {
    ReplaceEvents({{Key, 0, 0, 0, 'A', 10}});
    SendMessageW(app.mainWindow, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(MacroHasUnsavedChanges(app));
    std::wstring notice = TakeUnsavedMacroNotice();
    size_t at = notice.find(L"C:\\KorvaMacro\\Data\\Unsaved ");
    ASSERT_NE(at, std::wstring::npos) << notice;
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(notice.substr(at), bytes));
    EXPECT_NE(bytes.find("EV 3 10 0 0 0 65"), std::string::npos);
    EXPECT_EQ(TakeUnsavedMacroNotice(), L""); // said once
    DeleteFileW(notice.substr(at).c_str());
}
