// Shared set-up of the Win32 tests under Wine: a fresh main window per test, a message pump and
// the input turn.
#pragma once

#include "core/AppState.h"
#include "app/MainWindow_win.h"
#include "ui/windows/WindowText_win.h"
#include "input/KeyboardHook_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

// Dispatches what is queued, less the WM_QUIT of a destroyed main window.
inline void PumpMessages() {
    for (MSG message; PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE);) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// Pumps until `done` holds or 10 s pass: under load Wine may take seconds to hand input on.
template <typename Condition> bool PumpUntil(Condition done) {
    for (ULONGLONG until = GetTickCount64() + 10000; !done() && GetTickCount64() < until;) {
        PumpMessages();
        Sleep(2);
    }
    return done();
}

inline std::wstring WindowText(HWND window) {
    return ReadControlText(window, 512);
}

inline std::wstring TempPath(const std::wstring& name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return temp + name;
}

inline void DestroyTestMainWindow() {
    if (app.mainWindow && IsWindow(app.mainWindow)) DestroyWindow(app.mainWindow);
    app.mainWindow = nullptr;
    PumpMessages();
}

// Resets AppState and creates the real main window (hidden). Only tests that hold an `InputTurn` keep
// its keyboard hook: an idle process's hook holds up every key of the display for the hook timeout.
inline HWND CreateTestMainWindow(bool keepKeyboardHook = false) {
    DestroyTestMainWindow();
    ResetAppState();
    RegisterMainWindowClass(GetModuleHandleW(nullptr)); // fails harmlessly once the class exists
    HWND window = CreateMainWindow(GetModuleHandleW(nullptr));
    if (!keepKeyboardHook) RemoveKeyboardHook();
    PumpMessages();
    return window;
}

// Held by the tests that put real input on the display, keep the real hook or take the foreground:
// the test processes run in parallel and share one cursor, one foreground and one hook chain.
class InputTurn {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, L"KorvaTestInputTurn");

  public:
    InputTurn() { WaitForSingleObject(mutex, 120000); } // an abandoned turn is handed on like any other
    ~InputTurn() {
        ReleaseMutex(mutex);
        CloseHandle(mutex);
    }
};

// Answers the next message box of this process with `button` from another thread, keeping its
// text; the box runs its own modal loop meanwhile. Made before the action that shows the box.
class MessageBoxAnswer {
    std::wstring text;
    std::thread answerer;

    static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
        DWORD process = 0;
        wchar_t className[8] = {};
        GetWindowThreadProcessId(window, &process);
        GetClassNameW(window, className, 8);
        bool box = process == GetCurrentProcessId() && lstrcmpW(className, L"#32770") == 0;
        if (box) *reinterpret_cast<HWND*>(found) = window;
        return !box;
    }

  public:
    explicit MessageBoxAnswer(int button)
        : answerer([this, button] {
              // Found while it is being made, a box has no text yet and may miss the answer.
              HWND box = nullptr;
              for (int i = 0; i < 1000 && !(box && IsWindowVisible(box)); ++i, Sleep(10))
                  EnumWindows(FindBox, reinterpret_cast<LPARAM>(&box));
              text = WindowText(GetDlgItem(box, 0xFFFF)); // the box's message text
              PostMessageW(box, WM_COMMAND, button, 0);
          }) {}
    ~MessageBoxAnswer() { Text(); }
    // The text of the box that was answered; empty when none came within 10 s.
    std::wstring Text() {
        if (answerer.joinable()) answerer.join();
        return text;
    }
};
