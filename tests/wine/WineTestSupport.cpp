// Shared set-up for the Wine tests.
#include "tests/wine/WineTestSupport.h"

#include "app/MainWindow_win.h"
#include "app/WindowText_win.h"

uint64_t fakeNowMs = 1000;
uint64_t FakeClock() {
    return fakeNowMs;
}

HWND CreateTestMainWindow() {
    DestroyTestMainWindow();
    ResetAppState();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterMainWindowClass(instance); // fails harmlessly once the class exists
    HWND window = CreateMainWindow(instance);
    PumpMessages();
    return window;
}

void DestroyTestMainWindow() {
    if (app.mainWindow && IsWindow(app.mainWindow)) DestroyWindow(app.mainWindow);
    app.mainWindow = nullptr;
    // Drop the WM_QUIT that the destruction posts, so later pumps keep working.
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

std::wstring WindowText(HWND window) {
    return ReadControlText(window, 512);
}

HWND ControlById(int id) {
    return GetDlgItem(app.mainWindow, id);
}
