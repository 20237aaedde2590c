// Shared set-up for the Wine tests.
#include "tests/wine/WineTestSupport.h"

#include "app/MainWindow_win.h"
#include "app/WindowText_win.h"
#include "input/KeyboardHook_win.h"

HWND CreateTestMainWindow(bool keepKeyboardHook) {
    DestroyTestMainWindow();
    ResetAppState();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterMainWindowClass(instance); // fails harmlessly once the class exists
    HWND window = CreateMainWindow(instance);
    if (!keepKeyboardHook) RemoveKeyboardHook();
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

InputTurn::InputTurn() : mutex(CreateMutexW(nullptr, FALSE, L"KorvaTestInputTurn")) {
    // An abandoned turn (a crashed test process) is handed on as a normal one.
    WaitForSingleObject(mutex, 120000);
}

InputTurn::~InputTurn() {
    ReleaseMutex(mutex);
    CloseHandle(mutex);
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
