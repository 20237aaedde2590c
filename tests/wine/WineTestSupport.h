// Helpers for the tests that run the real windows under Wine: a fresh main window per test,
// a message pump, the input turn and a controllable clock.
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

// Pumps until `done` holds or `limitMs` pass: under load Wine may take seconds to hand input on.
template <typename Condition> bool PumpUntil(Condition done, ULONGLONG limitMs = 10000) {
    for (ULONGLONG until = GetTickCount64() + limitMs; !done() && GetTickCount64() < until;) {
        PumpMessages();
        Sleep(2);
    }
    return done();
}

// A clock the test sets by hand.
extern uint64_t fakeNowMs;
uint64_t FakeClock();

// For the tests of the input handlers: a fresh main window, the fake clock, and a stand-in for the
// overlay's switch label (the overlay is a window of its own).
class InputHandlerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window = CreateTestMainWindow();
        app.clock = FakeClock;
        fakeNowMs = 20'000;
        overlayMaster =
            CreateWindowExW(0, L"STATIC", L"ON", WS_CHILD, 0, 0, 40, 20, window, nullptr, nullptr, nullptr);
        app.overlayMasterLabel = overlayMaster;
    }
    void TearDown() override {
        app.playing = false;
        app.overlayMasterLabel = nullptr;
        DestroyTestMainWindow();
    }
    HWND window = nullptr;
    HWND overlayMaster = nullptr;
};
