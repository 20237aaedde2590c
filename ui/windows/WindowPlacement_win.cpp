// The small windows' places on the screen: the main window's rectangle, the monitor's work area
// (the screen less the taskbar) and the move before the window is first shown.
#include "ui/windows/WindowPlacement_win.h"

namespace {

ScreenRect FromRect(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

ScreenRect WorkAreaOf(HMONITOR monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof(info);
    if (!GetMonitorInfoW(monitor, &info))
        return FromRect({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
    return FromRect(info.rcWork);
}

} // namespace

void PlaceSmallWindow(HWND window, const ScreenRect& remembered, std::span<const PlacementSide> sides,
                      bool alignEnd) {
    if (!window) return;
    RECT own{};
    GetWindowRect(window, &own);
    ScreenRect place;
    if (remembered != ScreenRect{}) {
        RECT last{remembered.left, remembered.top, remembered.right, remembered.bottom};
        // The screen may have changed since: a place off every monitor comes back onto the nearest.
        place = KeepInside(remembered, WorkAreaOf(MonitorFromRect(&last, MONITOR_DEFAULTTONEAREST)));
    } else {
        RECT main{};
        if (!app.mainWindow || !GetWindowRect(app.mainWindow, &main)) return;
        place = PlaceBesideMain(FromRect(main), own.right - own.left, own.bottom - own.top,
                                WorkAreaOf(MonitorFromWindow(app.mainWindow, MONITOR_DEFAULTTONEAREST)),
                                sides, alignEnd);
    }
    SetWindowPos(window, nullptr, place.left, place.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RememberPlace(HWND window, ScreenRect& remembered) {
    RECT rect{};
    // A minimised window's rectangle is the icon's, far off the screen; the last one stays.
    if (!window || IsIconic(window) || !GetWindowRect(window, &rect)) return;
    remembered = FromRect(rect);
}
