// Helpers for the tests that run the real windows under Wine: a fresh main window per test,
// a message pump, and a controllable clock.
#pragma once

#include "app/AppState.h"

#include <windows.h>

#include <string>

// Resets AppState and creates the real main window (hidden); returns it.
HWND CreateTestMainWindow();
void DestroyTestMainWindow();
void PumpMessages();
std::wstring WindowText(HWND window);
HWND ControlById(int id);

// A clock the test sets by hand.
extern uint64_t fakeNowMs;
uint64_t FakeClock();
