// Helpers for the tests that run the real windows under Wine: a fresh main window per test,
// a message pump and the input turn.
#pragma once

#include "app/AppState.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

// Resets AppState and creates the real main window (hidden); returns it. The window's low-level
// keyboard hook is removed again unless `keepKeyboardHook`: a hook in an idle test process holds
// up every key of the display for the hook timeout, and an armed capture swallows other
// processes' keys, so only tests that hold an `InputTurn` keep theirs.
HWND CreateTestMainWindow(bool keepKeyboardHook = false);
void DestroyTestMainWindow();
void PumpMessages();
std::wstring WindowText(HWND window);

// Held by the tests that put real input on the display (cursor moves, keys) or keep the real
// keyboard hook: the test processes run in parallel and share one cursor and one hook chain.
class InputTurn {
  public:
    InputTurn();
    ~InputTurn();
    InputTurn(const InputTurn&) = delete;
    InputTurn& operator=(const InputTurn&) = delete;

  private:
    HANDLE mutex;
};

// Pumps until `done` holds or 10 s pass: under load Wine may take seconds to hand input on.
template <typename Condition> bool PumpUntil(Condition done) {
    for (ULONGLONG until = GetTickCount64() + 10000; !done() && GetTickCount64() < until;) {
        PumpMessages();
        Sleep(2);
    }
    return done();
}
