// Profile Wine test steps.
#include "tests/wine/ProfileTestSupport.h"

#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "tests/wine/WineTestSupport.h"

HWND OpenTestProfileWindow() {
    HWND main = CreateTestMainWindow();
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(6003, BN_CLICKED), reinterpret_cast<LPARAM>(ControlById(6003)));
    PumpMessages();
    return app.profileWindow;
}

void CloseTestWindows() {
    if (app.profileWindow && IsWindow(app.profileWindow)) DestroyWindow(app.profileWindow);
    DestroyTestMainWindow();
}

HWND ProfileControl(int id) {
    return GetDlgItem(app.profileWindow, id);
}

void ClickButton(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    PumpMessages();
}

std::wstring WriteTestMacro(const std::wstring& fileName, int keyCount) {
    CreateFixedFolders();
    std::string text = "KORVAMACRO_V1\r\nPLAYMODE 0\r\nMOUSEMODE 0\r\nMASTER 1\r\nDEVICEINDEX 0\r\nOUTPUT " +
                       std::string(fileName.begin(), fileName.end()) +
                       "\r\nRECORD_HOTKEY 0 0\r\nPLAY_HOTKEY 0 0\r\nHOLD_OFF_HOTKEY 0 0\r\nSPEED 0.6\r\n" +
                       "MACRO_COUNT " + std::to_string(keyCount) + "\r\n";
    for (int i = 0; i < keyCount; ++i)
        text += "EV 3 20 0 0 0 " + std::to_string(65 + i) + "\r\n";
    std::wstring path = std::wstring(MACRO_FOLDER) + L"\\" + fileName;
    WriteFileAtomically(path, text);
    return path;
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string bytes;
    ReadWholeFile(path, bytes);
    return bytes;
}
