// The dark theme's Win32 side: brushes, fonts, the owner-drawn button painter, control colours
// and the dark title bar. Every window procedure routes its drawing and colour messages here.
#pragma once

#include <windows.h>

void EnsureThemeBrushes();
void EnableDarkTitleBar(HWND window);
HFONT MakeBoldGuiFont(int height);
void DrawThemedButton(const DRAWITEMSTRUCT* item);
BOOL CALLBACK MakePushButtonsOwnerDrawn(HWND child, LPARAM unused);
HBRUSH ThemeCtlColor(UINT message, HDC dc, HWND control);
// Fills a window's client area with the background brush, or `fallback` while it is missing.
void EraseWithBackground(HWND window, HDC dc, int fallbackSysColor);
