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

// Every test ends with no main window, nor its keyboard hook, also when an assertion cut it short.
struct MainWindowCleanup : ::testing::EmptyTestEventListener {
    void OnTestEnd(const ::testing::TestInfo&) override { DestroyTestMainWindow(); }
};
inline const bool mainWindowCleanup =
    (::testing::UnitTest::GetInstance()->listeners().Append(new MainWindowCleanup), true);

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

// Answers the next message box of this thread with `button`, keeping its text: a timer, which the
// box's own modal loop runs, finds it among the thread's windows. Made before the action that shows it.
class MessageBoxAnswer {
    static inline int button = 0;
    static inline std::wstring text;
    UINT_PTR timer;

    static BOOL CALLBACK FindBox(HWND window, LPARAM found) {
        wchar_t className[8] = {};
        GetClassNameW(window, className, 8);
        bool box = lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window);
        if (box) *reinterpret_cast<HWND*>(found) = window;
        return !box;
    }
    static void CALLBACK Answer(HWND, UINT, UINT_PTR, DWORD) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
        if (!box || !text.empty()) return;
        text = WindowText(GetDlgItem(box, 0xFFFF)); // the box's message text
        PostMessageW(box, WM_COMMAND, button, 0);
    }

  public:
    explicit MessageBoxAnswer(int answer) : timer(SetTimer(nullptr, 0, 10, Answer)) {
        button = answer;
        text.clear();
    }
    ~MessageBoxAnswer() { KillTimer(nullptr, timer); }
    // The text of the box that was answered; empty when none came.
    std::wstring Text() const { return text; }
};
