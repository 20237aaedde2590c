// The message loop, with the undo keys and the main window's focus keys taken before translation.
#include "app/MessageLoop_win.h"

#include "core/AppState.h"
#include "app/FocusKeys_win.h"
#include "app/UndoKeys_win.h"

#include <windows.h>

int RunMessageLoop() {
    MSG message{};
    for (;;) {
        // Under Wine, PeekMessage first turns the display's pending events into input messages, so
        // an empty queue means those are handled too.
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return static_cast<int>(message.wParam);
            if (HandleUndoKeys(message)) continue;
            if (HandleFocusKeys(message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        app.interfaceQueueDrains.fetch_add(1, std::memory_order_relaxed);
        app.interfaceWaiting = true;
        WaitMessage();
        app.interfaceWaiting = false;
    }
}
