// What a program without DPI awareness sees of the screen and the cursor against what a
// per-monitor-aware thread sees, the way playback's cursor calls switch to. Run it under a
// prefix set to 144 DPI to learn whether the system scales coordinates for unaware programs.
#include <windows.h>

#include <cstdio>

namespace {

using SetThreadDpiContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

// The cursor and the confinement were set by the unaware side; each side reads them back.
void PrintView(const char* what) {
    POINT cursor{};
    GetCursorPos(&cursor);
    RECT clipped{};
    GetClipCursor(&clipped);
    std::printf("  %s: screen %d x %d, cursor %ld,%ld, confinement %ld,%ld-%ld,%ld\n", what,
                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), cursor.x, cursor.y,
                clipped.left, clipped.top, clipped.right, clipped.bottom);
}

} // namespace

int main() {
    HDC screen = GetDC(nullptr);
    std::printf("dpi scaling: system DPI %d\n", GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    SetCursorPos(600, 500);
    RECT clip{600, 500, 601, 501};
    ClipCursor(&clip);
    std::printf("  the unaware side put the cursor at 600,500 and confined it to 600,500-601,501\n");
    PrintView("unaware");
    auto set = reinterpret_cast<SetThreadDpiContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
    if (!set) {
        std::printf("  SetThreadDpiAwarenessContext: not present\n");
        ClipCursor(nullptr);
        return 0;
    }
    DPI_AWARENESS_CONTEXT previous = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    std::printf("  per-monitor aware v2 context: %s\n", previous ? "set" : "refused");
    if (!previous) {
        previous = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE);
        std::printf("  per-monitor aware context: %s\n", previous ? "set" : "refused");
    }
    PrintView("per-monitor aware");
    ClipCursor(nullptr);
    return 0;
}
