// The dark theme's Win32 side: brushes, fonts, the owner-drawn button painter, control colours
// and the dark title bar. Every window procedure routes its drawing and colour messages here.
#pragma once

#include <windows.h>

void EnsureThemeBrushes();
void EnableDarkTitleBar(HWND window);
// Registers a class for one of the program's own windows, painted with the theme background made
// by EnsureThemeBrushes (or the system colour `fallbackColor` if there is none). A class left registered by
// an earlier window of this process counts as registered. Returns whether the class is there.
bool RegisterThemedWindowClass(HINSTANCE instance, const wchar_t* className, WNDPROC procedure,
                               int fallbackColor);
HFONT MakeBoldGuiFont(int height);
void DrawThemedButton(const DRAWITEMSTRUCT* item);
BOOL CALLBACK MakePushButtonsOwnerDrawn(HWND child, LPARAM unused);
HBRUSH ThemeCtlColor(UINT message, HDC dc, HWND control);
// Fills a window's client area with the background brush, or `fallback` while it is missing.
void EraseWithBackground(HWND window, HDC dc, int fallbackSysColor);
