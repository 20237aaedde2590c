// Saving and loading macros with the real main window, the real overwrite question and the real
// Open dialog under Wine. The boxes are answered from a second thread that finds them by caption.
#include "app/ControlTable.h"
#include "input/KeyboardHook_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "storage/MacroFiles_win.h"
#include "storage/TextCodec.h"
#include "tests/wine/WineTestSupport.h"

#include <commdlg.h>
#include <dlgs.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

namespace {

std::wstring DataPath(const std::wstring& fileName) {
    return std::wstring(MACRO_FOLDER) + L"\\" + fileName;
}

std::string FileBytes(const std::wstring& path) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) return "<unreadable>";
    return bytes;
}

void PutFile(const std::wstring& path, const std::string& bytes) {
    CreateFixedFolders();
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(WriteFileAtomically(path, bytes));
}

void RemoveFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

// The file names in the macro folder that match `pattern`, as the file system spells them.
std::vector<std::wstring> NamesMatching(const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(DataPath(pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

// What the hotkey edits should show for a binding, whatever the key names look like.
std::wstring HotkeyText(HotkeyBinding binding) {
    HWND scratch =
        CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ShowHotkeyText(scratch, binding);
    std::wstring text = WindowText(scratch);
    DestroyWindow(scratch);
    return text;
}

// Runs `handle` on a second thread with the first dialog box of the given caption that this
// process shows, while the test thread sits in the modal loop that shows it.
class BoxAnswerer {
  public:
    BoxAnswerer(const wchar_t* caption, std::function<void(HWND)> handle)
        : thread([this, caption, handle] {
              auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
              while (!stop && std::chrono::steady_clock::now() < deadline) {
                  HWND box = FindWindowW(L"#32770", caption);
                  DWORD process = 0;
                  if (box) GetWindowThreadProcessId(box, &process);
                  if (box && process == GetCurrentProcessId() && IsWindowVisible(box)) {
                      found = true;
                      handle(box);
                      return;
                  }
                  Sleep(20);
              }
          }) {}
    ~BoxAnswerer() { Finish(); }
    void Finish() {
        stop = true;
        if (thread.joinable()) thread.join();
    }
    std::atomic<bool> found{false};

  private:
    std::atomic<bool> stop{false};
    std::thread thread;
};

void PressButton(HWND box, int id) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
}

struct QuestionSeen {
    std::wstring text;
    HWND owner = nullptr;
    std::vector<int> buttons;
    int defaultButton = 0;
    int focusedButton = 0;
    bool hasIcon = false;
};

// Answers the overwrite question with `answer` and notes what the box looked like.
std::unique_ptr<BoxAnswerer> AnswerOverwrite(int answer, QuestionSeen* seen = nullptr) {
    return std::make_unique<BoxAnswerer>(L"Overwrite existing macro?", [answer, seen](HWND box) {
        if (seen) {
            seen->owner = GetWindow(box, GW_OWNER);
            GUITHREADINFO gui{};
            gui.cbSize = sizeof(gui);
            GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &gui);
            seen->focusedButton = GetDlgCtrlID(gui.hwndFocus);
            for (HWND child : ChildrenOf(box)) {
                std::wstring name = ClassOf(child);
                LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
                if (_wcsicmp(name.c_str(), L"Button") == 0) {
                    seen->buttons.push_back(GetDlgCtrlID(child));
                    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) seen->defaultButton = GetDlgCtrlID(child);
                }
                if (_wcsicmp(name.c_str(), L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
                    seen->hasIcon = true;
                if (_wcsicmp(name.c_str(), L"Static") == 0 && WindowText(child).size() > seen->text.size())
                    seen->text = WindowText(child);
            }
        }
        PressButton(box, answer);
    });
}

struct OpenDialogSeen {
    std::wstring folder;
    std::vector<std::wstring> filters;
    int filterSelected = -1;
    HWND owner = nullptr;
};

// Types `path` into the Open dialog and presses Open, or presses Cancel when `path` is empty.
std::unique_ptr<BoxAnswerer> AnswerOpen(std::wstring path, OpenDialogSeen* seen = nullptr) {
    return std::make_unique<BoxAnswerer>(L"Open", [path, seen](HWND dialog) {
        Sleep(200); // let the dialog finish filling its folder view
        if (seen) {
            wchar_t folder[MAX_PATH] = {};
            SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
            seen->folder = folder;
            seen->owner = GetWindow(dialog, GW_OWNER);
            HWND types = GetDlgItem(dialog, cmb1);
            LRESULT count = SendMessageW(types, CB_GETCOUNT, 0, 0);
            for (LRESULT i = 0; i < count; ++i) {
                wchar_t item[128] = {};
                SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                seen->filters.push_back(item);
            }
            seen->filterSelected = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
        }
        if (path.empty()) {
            PressButton(dialog, IDCANCEL);
            return;
        }
        HWND name = GetDlgItem(dialog, cmb13);
        if (!name) name = GetDlgItem(dialog, edt1);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        PressButton(dialog, IDOK);
    });
}

std::string LoadedFile() {
    return "KORVAMACRO_V1\r\n"
           "PLAYMODE 1\r\n"
           "MOUSEMODE 2\r\n"
           "MASTER 0\r\n"
           "DEVICEINDEX 0\r\n"
           "OUTPUT  Loaded name \r\n"
           "RECORD_HOTKEY 1 117\r\n"
           "PLAY_HOTKEY 0 0\r\n"
           "HOLD_OFF_HOTKEY 1 65\r\n"
           "SPEED 2\r\n"
           "MACRO_COUNT 2\r\n"
           "EV 0 0 12 -3 0 0\r\n"
           "EV 3 95 0 0 0 65\r\n";
}

const std::vector<MacroEvent> LOADED_EVENTS = {MacroEvent{Move, 12, -3, 0, 0, 0},
                                               MacroEvent{Key, 0, 0, 0, 65, 95}};

class MacroFilesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateTestMainWindow();
        CreateFixedFolders();
    }
    void TearDown() override {
        for (const std::wstring& path : cleanup)
            RemoveFile(path);
        DestroyTestMainWindow();
    }
    // Each test uses its own file names: the tests of this file may run at once in one prefix.
    std::wstring Cleaned(const std::wstring& path) {
        cleanup.push_back(path);
        return path;
    }
    HWND window = nullptr;
    std::vector<std::wstring> cleanup;
};

} // namespace

TEST_F(MacroFilesTest, SaveTrimsAndCleansTheNameButWritesTheRawOutputText) {
    std::wstring path = Cleaned(DataPath(L"MyMacro.kmc"));
    RemoveFile(path);
    app.events = {MacroEvent{Move, 5, 6, 0, 0, 7}, MacroEvent{ButtonDown, 0, 0, 1, 0, 140}};
    app.recordHotkey = {HotkeyKeyboard, 0x75};
    app.speed = 1.25;
    SetWindowTextW(app.outputEdit, L"  My:Macro? ");
    {
        auto unexpected = AnswerOverwrite(IDNO);
        EXPECT_TRUE(SaveMacroByName(window));
        unexpected->Finish();
        EXPECT_FALSE(unexpected->found); // nothing was there to overwrite
    }
    std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes, WriteMacroFile(app, L"  My:Macro? "));
    EXPECT_NE(bytes.find("\r\nOUTPUT   My:Macro? \r\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\r\nSPEED 1.25\r\nMACRO_COUNT 2\r\nEV 0 7 5 6 0 0\r\nEV 1 140 0 0 1 0\r\n"),
              std::string::npos);

    // Only blanks, or only forbidden characters: "Macro". Characters above U+00FF stay in the file
    // name but are written as '?' inside the file.
    for (const wchar_t* text : {L"   ", L"?:*"}) {
        std::wstring fallback = Cleaned(DataPath(L"Macro.kmc"));
        RemoveFile(fallback);
        SetWindowTextW(app.outputEdit, text);
        EXPECT_TRUE(SaveMacroByName(window));
        EXPECT_NE(FileBytes(fallback).find(std::string("\r\nOUTPUT ") + EncodeLatin1(text) + "\r\n"),
                  std::string::npos);
    }
    std::wstring wide = Cleaned(DataPath(L"Caf\u00e9 \u20ac.kmc"));
    RemoveFile(wide);
    SetWindowTextW(app.outputEdit, L"Caf\u00e9 \u20ac");
    EXPECT_TRUE(SaveMacroByName(window));
    EXPECT_NE(FileBytes(wide).find("\r\nOUTPUT Caf\xe9 ?\r\n"), std::string::npos);
}

TEST_F(MacroFilesTest, NameWithTheExtensionInAnyCaseGetsNoSecondOne) {
    Cleaned(DataPath(L"tune.KMC"));
    Cleaned(DataPath(L"tune.KMC.kmc"));
    RemoveFile(DataPath(L"tune.KMC"));
    SetWindowTextW(app.outputEdit, L"tune.KMC");
    EXPECT_TRUE(SaveMacroByName(window));
    EXPECT_EQ(NamesMatching(L"tune*"), std::vector<std::wstring>{L"tune.KMC"});
}

TEST_F(MacroFilesTest, SecondSaveAsksAndOnlyYesReplacesTheFile) {
    std::wstring path = Cleaned(DataPath(L"Twice.kmc"));
    RemoveFile(path);
    SetWindowTextW(app.outputEdit, L"Twice");
    app.events = {MacroEvent{Key, 0, 0, 0, 65, 10}};
    ASSERT_TRUE(SaveMacroByName(window));
    std::string first = FileBytes(path);

    app.events = {MacroEvent{Key, 0, 0, 0, 66, 20}, MacroEvent{Key, 0, 0, 0, 67, 30}};
    QuestionSeen seen;
    auto no = AnswerOverwrite(IDNO, &seen);
    EXPECT_FALSE(SaveMacroByName(window));
    no->Finish();
    EXPECT_TRUE(no->found);
    EXPECT_EQ(FileBytes(path), first);
    EXPECT_EQ(seen.text,
              L"A macro with this name already exists.\nSaving will replace its saved setup and events.\n\n"
              L"Do you want to overwrite it?");
    EXPECT_EQ(seen.owner, window);
    EXPECT_EQ(seen.buttons, (std::vector<int>{IDYES, IDNO}));
    EXPECT_EQ(seen.defaultButton, IDNO);
    EXPECT_EQ(seen.focusedButton, IDNO);
    EXPECT_TRUE(seen.hasIcon);

    auto yes = AnswerOverwrite(IDYES);
    EXPECT_TRUE(SaveMacroByName(window));
    yes->Finish();
    EXPECT_TRUE(yes->found);
    EXPECT_EQ(FileBytes(path), WriteMacroFile(app, L"Twice"));
}

TEST_F(MacroFilesTest, SaveThatCannotWriteReturnsFalseAndKeepsWhatWasThere) {
    std::wstring folder = DataPath(L"Blocked.kmc");
    CreateDirectoryW(folder.c_str(), nullptr);
    SetWindowTextW(app.outputEdit, L"Blocked");
    {
        auto yes = AnswerOverwrite(IDYES);
        EXPECT_FALSE(SaveMacroByName(window));
        yes->Finish();
        EXPECT_TRUE(yes->found);
    }
    EXPECT_TRUE(GetFileAttributesW(folder.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryW(folder.c_str());

    std::wstring locked = Cleaned(DataPath(L"Locked.kmc"));
    PutFile(locked, "KORVAMACRO_V1\r\nOUTPUT old\r\n");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    SetWindowTextW(app.outputEdit, L"Locked");
    app.events = {MacroEvent{Key, 0, 0, 0, 65, 10}};
    {
        auto yes = AnswerOverwrite(IDYES);
        EXPECT_FALSE(SaveMacroByName(window));
        yes->Finish();
        EXPECT_TRUE(yes->found);
    }
    EXPECT_EQ(FileBytes(locked), "KORVAMACRO_V1\r\nOUTPUT old\r\n");
}

TEST_F(MacroFilesTest, PathLoadLeavesSpeedAndHoldOffEditsButTheDialogLoadUpdatesThem) {
    std::wstring path = Cleaned(DataPath(L"LoadBoth.kmc"));
    PutFile(path, LoadedFile());
    SetWindowTextW(app.recordHotkeyEdit, L"stale");
    SetWindowTextW(app.playHotkeyEdit, L"stale");
    std::wstring holdOffBefore = WindowText(app.holdOffHotkeyEdit);
    ASSERT_NE(holdOffBefore, HotkeyText({HotkeyKeyboard, 65}));

    ASSERT_TRUE(LoadMacroFromPath(path));
    EXPECT_EQ(app.playMode.load(), Loop);
    EXPECT_EQ(app.mouseMode.load(), LockMouse);
    EXPECT_FALSE(app.masterEnabled);
    EXPECT_EQ(app.recordHotkey, (HotkeyBinding{HotkeyKeyboard, 117}));
    EXPECT_EQ(app.playHotkey, HotkeyBinding{});
    EXPECT_EQ(app.holdOffHotkey, (HotkeyBinding{HotkeyKeyboard, 65}));
    EXPECT_EQ(app.speed.load(), 2.0);
    EXPECT_EQ(app.events, LOADED_EVENTS);
    EXPECT_EQ(WindowText(app.masterLabel), L"OFF");
    EXPECT_EQ(WindowText(app.outputEdit), L" Loaded name ");
    EXPECT_EQ(IsDlgButtonChecked(window, ID_LOOP), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_ONCE), BST_UNCHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_LOCK_MOUSE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_FREE_MOUSE), BST_UNCHECKED);
    EXPECT_EQ(WindowText(app.recordHotkeyEdit), HotkeyText(app.recordHotkey));
    EXPECT_EQ(WindowText(app.playHotkeyEdit), HotkeyText(app.playHotkey));
    EXPECT_EQ(WindowText(app.speedEdit), L"0.600");
    EXPECT_EQ(WindowText(app.holdOffHotkeyEdit), holdOffBefore);

    // Through the dialog the same file also sets the speed edit and the hold-off edit.
    app.events.clear();
    OpenDialogSeen seen;
    auto open = AnswerOpen(path, &seen);
    EXPECT_TRUE(LoadMacroWithDialog(window));
    open->Finish();
    EXPECT_TRUE(open->found);
    EXPECT_EQ(WindowText(app.speedEdit), L"2.000");
    EXPECT_EQ(WindowText(app.holdOffHotkeyEdit), HotkeyText({HotkeyKeyboard, 65}));
    EXPECT_EQ(app.events, LOADED_EVENTS);
    EXPECT_EQ(_wcsicmp(seen.folder.c_str(), std::wstring(MACRO_FOLDER).c_str()), 0) << seen.folder;
    EXPECT_EQ(seen.filters, (std::vector<std::wstring>{L"Korva Macro Files (*.kmc)", L"All Files (*.*)"}));
    EXPECT_EQ(seen.filterSelected, 0);
    EXPECT_EQ(seen.owner, window);
}

TEST_F(MacroFilesTest, LoadedValuesOutsideTheControlsGoInUnchanged) {
    HWND combo = app.deviceCombo;
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const wchar_t* entry : {L"Any mouse [raw]", L"Mouse A", L"Mouse B"})
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SendMessageW(combo, CB_SETCURSEL, 1, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_LOOP, BN_CLICKED), 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(ID_CENTER_MOUSE, BN_CLICKED), 0);

    std::wstring path = Cleaned(DataPath(L"OutOfRange.kmc"));
    PutFile(path, "KORVAMACRO_V1\r\nPLAYMODE 5\r\nMOUSEMODE -1\r\nDEVICEINDEX 7\r\nSPEED -2\r\n");
    ASSERT_TRUE(LoadMacroFromPath(path));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(app.deviceIndex, 7);
    EXPECT_EQ(app.playMode.load(), 5);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_ONCE), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_LOOP), BST_UNCHECKED);
    EXPECT_EQ(app.mouseMode.load(), -1);
    EXPECT_EQ(IsDlgButtonChecked(window, ID_FREE_MOUSE), BST_CHECKED);
    EXPECT_EQ(app.speed.load(), SPEED_DEFAULT);
    EXPECT_EQ(WindowText(app.outputEdit), L""); // no OUTPUT line
    EXPECT_TRUE(app.events.empty());

    PutFile(path, "KORVAMACRO_V1\r\nDEVICEINDEX 2\r\n");
    ASSERT_TRUE(LoadMacroFromPath(path));
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(app.playMode.load(), 5); // absent keywords keep the current values
}

TEST_F(MacroFilesTest, RefusedLoadsChangeNothing) {
    app.events = {MacroEvent{Key, 0, 0, 0, 65, 10}};
    SetWindowTextW(app.outputEdit, L"unchanged");
    auto unchanged = [] {
        return app.events == std::vector<MacroEvent>{MacroEvent{Key, 0, 0, 0, 65, 10}} &&
               WindowText(app.outputEdit) == L"unchanged" && app.playMode == Once;
    };
    EXPECT_FALSE(LoadMacroFromPath(L""));
    EXPECT_FALSE(LoadMacroFromPath(DataPath(L"NoSuchFile.kmc")));
    std::wstring bad = Cleaned(DataPath(L"BadMagic.kmc"));
    PutFile(bad, "\xEF\xBB\xBFKORVAMACRO_V1\r\nPLAYMODE 1\r\n");
    EXPECT_FALSE(LoadMacroFromPath(bad));
    EXPECT_TRUE(unchanged());

    // The dialog: cancelled, a bad file, a good file outside the macro folder.
    for (const std::wstring& pick : {std::wstring(), bad}) {
        auto open = AnswerOpen(pick);
        EXPECT_FALSE(LoadMacroWithDialog(window));
        open->Finish();
        EXPECT_TRUE(open->found);
    }
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring outside = Cleaned(std::wstring(temp) + L"Outside.kmc");
    PutFile(outside, LoadedFile());
    {
        auto open = AnswerOpen(outside);
        EXPECT_FALSE(LoadMacroWithDialog(window));
        open->Finish();
        EXPECT_TRUE(open->found);
    }
    EXPECT_TRUE(unchanged());
    // The path load applies no folder test.
    EXPECT_TRUE(LoadMacroFromPath(outside));
    EXPECT_EQ(app.events, LOADED_EVENTS);
}
