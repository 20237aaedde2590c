// Palette brushes, bold fonts, the themed button painter and the control-colour answers.
#include "ui/theme/Theme_win.h"

#include "core/AppState.h"
#include "ui/theme/Palette.h"

#include <dwmapi.h>

namespace {

constexpr DWORD DARK_MODE_ATTRIBUTE = 20; // DWMWA_USE_IMMERSIVE_DARK_MODE

bool ReadGuiLogFont(LOGFONTW& font) {
    HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    if (!stock) return false;
    return GetObjectW(stock, sizeof(font), &font) == static_cast<int>(sizeof(font));
}

HFONT AccentButtonFont() {
    if (app.accentButtonFont) return app.accentButtonFont;
    LOGFONTW font{};
    if (ReadGuiLogFont(font)) {
        font.lfHeight = AccentFontHeight(font.lfHeight);
    } else {
        font = LOGFONTW{};
        font.lfHeight = -16;
        lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
    }
    app.accentButtonFont = CreateFontIndirectW(&font);
    return app.accentButtonFont;
}

bool IsAccentButton(UINT id) {
    return id == 2001 || id == 2003;
}

} // namespace

void EnsureThemeBrushes() {
    if (!app.backgroundBrush) app.backgroundBrush = CreateSolidBrush(backgroundColor);
    if (!app.editBrush) app.editBrush = CreateSolidBrush(controlColor);
    if (!app.listBrush) app.listBrush = CreateSolidBrush(controlColor);
}

void EnableDarkTitleBar(HWND window) {
    BOOL dark = TRUE;
    DwmSetWindowAttribute(window, DARK_MODE_ATTRIBUTE, &dark, sizeof(dark));
}

HFONT MakeBoldGuiFont(int height) {
    HFONT stock = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTW font{};
    if (!ReadGuiLogFont(font)) return stock;
    font.lfHeight = height;
    font.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectW(&font);
    return bold ? bold : stock;
}

void DrawThemedButton(const DRAWITEMSTRUCT* item) {
    if (!item) return;
    HDC dc = item->hDC;
    int saved = SaveDC(dc);

    COLORREF face = controlColor;
    if (item->itemState & ODS_SELECTED)
        face = pressedButtonColor;
    else if (item->itemState & ODS_HOTLIGHT)
        face = hotButtonColor;

    bool disabled = item->itemState & ODS_DISABLED;
    COLORREF text = disabled ? disabledTextColor : textColor;
    if (IsAccentButton(item->CtlID)) text = disabled ? accentDisabledTextColor : accentTextColor;

    HBRUSH faceBrush = CreateSolidBrush(face);
    FillRect(dc, &item->rcItem, faceBrush);
    DeleteObject(faceBrush);

    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    HGDIOBJ previousFont = nullptr;
    if (IsAccentButton(item->CtlID)) {
        if (HFONT font = AccentButtonFont()) previousFont = SelectObject(dc, font);
    }
    wchar_t caption[127] = {};
    GetWindowTextW(item->hwndItem, caption, 127);
    RECT textRect = item->rcItem;
    DrawTextW(dc, caption, -1, &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (previousFont) SelectObject(dc, previousFont);

    HPEN pen = CreatePen(PS_SOLID, 1, borderColor);
    HGDIOBJ previousPen = SelectObject(dc, pen);
    HGDIOBJ previousBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom);
    SelectObject(dc, previousPen);
    SelectObject(dc, previousBrush);
    DeleteObject(pen);

    if (item->itemState & ODS_FOCUS) {
        RECT focus = item->rcItem;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(dc, &focus);
    }
    RestoreDC(dc, saved);
}

BOOL CALLBACK MakePushButtonsOwnerDrawn(HWND child, LPARAM) {
    wchar_t className[16] = {};
    GetClassNameW(child, className, 16);
    if (lstrcmpiW(className, L"BUTTON") != 0) return TRUE;
    LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    LONG_PTR type = style & BS_TYPEMASK;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
        SetWindowLongPtrW(child, GWL_STYLE, style | BS_OWNERDRAW);
    return TRUE;
}

HBRUSH ThemeCtlColor(UINT message, HDC dc, HWND control) {
    auto orBlack = [](HBRUSH brush) {
        return brush ? brush : static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    };
    switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        SetBkMode(dc, OPAQUE);
        SetTextColor(dc, textColor);
        SetBkColor(dc, controlColor);
        return orBlack(message == WM_CTLCOLOREDIT ? app.editBrush : app.listBrush);
    case WM_CTLCOLORBTN: {
        SetBkMode(dc, TRANSPARENT);
        bool accent = control && (control == app.recordButton || control == app.playButton);
        SetTextColor(dc, accent ? recordPlayCtlTextColor : textColor);
        SetBkColor(dc, backgroundColor);
        return orBlack(app.backgroundBrush);
    }
    case WM_CTLCOLORSTATIC: {
        SetBkMode(dc, TRANSPARENT);
        bool alert = control && ((control == app.overlayRecLabel && app.recording) ||
                                 (control == app.overlayPlayLabel && app.playing));
        SetTextColor(dc, alert ? alertTextColor : textColor);
        SetBkColor(dc, backgroundColor);
        return orBlack(app.backgroundBrush);
    }
    default:
        return orBlack(nullptr);
    }
}

void EraseWithBackground(HWND window, HDC dc, int fallbackSysColor) {
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = app.backgroundBrush ? app.backgroundBrush : GetSysColorBrush(fallbackSysColor);
    FillRect(dc, &client, brush);
}

bool RegisterThemedWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                               int fallbackColor) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = app.backgroundBrush
                                    ? app.backgroundBrush
                                    : reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(fallbackColor + 1));
    windowClass.lpszClassName = className;
    return RegisterClassExW(&windowClass) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}
