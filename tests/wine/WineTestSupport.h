// Helpers for the tests that run the real windows under Wine: a fresh main window per test,
// a message pump, and a controllable clock.
#pragma once

#include "app/AppState.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

// Resets AppState and creates the real main window (hidden); returns it. The window's low-level
// keyboard hook is removed again unless `keepKeyboardHook`: a hook in an idle test process holds
// up every key of the display for the hook timeout, and an armed capture swallows other
// processes' keys, so only tests that hold an `InputTurn` keep theirs.
HWND CreateTestMainWindow(bool keepKeyboardHook = false);
void DestroyTestMainWindow();
void PumpMessages();
std::wstring WindowText(HWND window);
HWND ControlById(int id);

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
