// The status overlay: a small topmost tool window whose four labels show the active profile,
// recording, playback and the master switch. It only displays; the labels' texts are written by
// the parts that change the state, their colours are chosen when they paint.
#include "ui/windows/Overlay_win.h"

#include "core/AppState.h"
#include "ui/windows/WindowText_win.h"
#include "macro/Playback.h"
#include "ui/theme/Theme_win.h"
#include "ui/windows/WindowPlacement_win.h"

#include <string>

namespace {

constexpr wchar_t OVERLAY_CLASS_NAME[] = L"KorvaEyeWindow";
constexpr int OVERLAY_WIDTH = 380;
constexpr int OVERLAY_HEIGHT = 110;
constexpr int PROFILE_FONT_HEIGHT = -18;
constexpr int MASTER_FONT_HEIGHT = -17;
// GetWindowTextW buffer for the main window's profile text, terminating null included.
constexpr int PROFILE_TEXT_LIMIT = 255;
// Beside the main window's top corner, where it covers none of the main window's controls.
constexpr PlacementSide OVERLAY_SIDES[] = {RightOfMain, LeftOfMain, AboveMain, BelowMain};

HWND CreateLabel(HWND parent, HINSTANCE instance, const wchar_t* text, DWORD style, int x, int y, int width,
                 int height, HFONT font) {
    HWND label = CreateWindowExW(0, L"STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, width, height,
                                 parent, nullptr, instance, nullptr);
    if (label) SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return label;
}

void CreateOverlayLabels(HWND window, HINSTANCE instance) {
    // The bold fonts are made once and kept for the run, however often the overlay is reopened.
    static HFONT profileFont = MakeBoldGuiFont(PROFILE_FONT_HEIGHT);
    static HFONT masterFont = MakeBoldGuiFont(MASTER_FONT_HEIGHT);
    HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    app.overlayProfileLabel =
        CreateLabel(window, instance, L"Profile: None", 0, 10, 10, 296, 40, profileFont); // clear of ON/OFF
    if (app.profileLabel) {
        std::wstring profile = ReadControlText(app.profileLabel, PROFILE_TEXT_LIMIT);
        if (!profile.empty()) SetControlText(app.overlayProfileLabel, profile);
    }
    app.overlayRecLabel =
        CreateLabel(window, instance, app.recording ? L"REC" : L"NO REC", SS_CENTER, 80, 50, 80, 18, guiFont);
    // Wide enough for the pass of a counted loop, "PLAY 9999/9999".
    std::wstring play = app.playing ? PlayLabelText(app.playbackPass) : L"NO PLAY";
    app.overlayPlayLabel = CreateLabel(window, instance, play.c_str(), SS_CENTER, 185, 50, 110, 18, guiFont);
    app.overlayMasterLabel = CreateLabel(window, instance, L"", SS_CENTER, 311, 10, 44, 44, masterFont);
    ShowOverlaySwitchState();
}

void MakeTopmost(HWND window) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

void ShowOverlaySwitchState() {
    if (!app.overlayMasterLabel) return;
    SetControlText(app.overlayMasterLabel, app.masterEnabled && app.holdStateOn ? L"ON" : L"OFF");
    InvalidateRect(app.overlayMasterLabel, nullptr, TRUE);
}

void ToggleOverlay() {
    if (app.overlayWindow && IsWindow(app.overlayWindow)) {
        DestroyWindow(app.overlayWindow);
        return;
    }
    OpenOverlay();
}

void OpenOverlay() {
    if (app.overlayWindow && IsWindow(app.overlayWindow)) {
        MakeTopmost(app.overlayWindow);
        ShowWindow(app.overlayWindow, SW_SHOWNORMAL);
        SetForegroundWindow(app.overlayWindow);
        return;
    }

    HINSTANCE instance = GetModuleHandleW(nullptr);
    EnsureThemeBrushes();
    if (!app.overlayClassRegistered)
        app.overlayClassRegistered =
            RegisterThemedWindowClass(instance, OVERLAY_CLASS_NAME, OverlayWindowProc, COLOR_BTNFACE);

    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, OVERLAY_CLASS_NAME, L"Eye",
                                  WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, OVERLAY_WIDTH,
                                  OVERLAY_HEIGHT, app.mainWindow, nullptr, instance, nullptr);
    app.overlayWindow = window;
    if (!window) return;
    EnableDarkTitleBar(window);
    PlaceSmallWindow(window, app.overlayPlace, OVERLAY_SIDES, false);
    MakeTopmost(window);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

LRESULT CALLBACK OverlayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreateOverlayLabels(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance);
        return 0;
    case WM_DESTROY:
        RememberPlace(window, app.overlayPlace);
        if (app.overlayWindow == window) {
            app.overlayWindow = nullptr;
            app.overlayProfileLabel = nullptr;
            app.overlayMasterLabel = nullptr;
            app.overlayRecLabel = nullptr;
            app.overlayPlayLabel = nullptr;
        }
        return 0;
    case WM_ERASEBKGND:
        EraseWithBackground(window, reinterpret_cast<HDC>(wParam), COLOR_BTNFACE);
        return 1;
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            ThemeCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
