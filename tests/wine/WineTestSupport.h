// Helpers for the tests that run the real windows under Wine: a fresh main window per test,
// a message pump, and a controllable clock.
#pragma once

#include "app/AppState.h"

#include <windows.h>

#include <string>
#include <vector>

// Resets AppState and creates the real main window (hidden); returns it.
HWND CreateTestMainWindow();
void DestroyTestMainWindow();
void PumpMessages();
std::wstring WindowText(HWND window);
HWND ControlById(int id);

// The child windows of a window, in creation order.
std::vector<HWND> ChildrenOf(HWND parent);
std::wstring ClassOf(HWND window);

// A bitmap selected into a memory device context, for reading back what a painter drew.
struct MemoryCanvas {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ previous;
    MemoryCanvas(int width, int height);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;
};

// A clock the test sets by hand.
extern uint64_t fakeNowMs;
uint64_t FakeClock();
