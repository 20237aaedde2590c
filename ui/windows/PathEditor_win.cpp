// The mouse path editor window: its controls, painting, left-button drag of points, right-button
// pan, wheel zoom, and the Apply, Close and Clear commands.
#include "ui/windows/PathEditor_win.h"

#include "core/AppState.h"
#include "macro/EventList_win.h"
#include "macro/Undo.h"
#include "ui/theme/Palette.h"
#include "ui/theme/Theme_win.h"
#include "ui/windows/PathModel.h"
#include "ui/windows/PathView.h"
#include "ui/windows/WindowPlacement_win.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace {

constexpr wchar_t PATH_EDITOR_CLASS_NAME[] = L"KorvaPathEditorWindow";
constexpr wchar_t PATH_EDITOR_TITLE[] = L"Mouse Path Editor";
constexpr int PATH_EDITOR_WIDTH = 640;
constexpr int PATH_EDITOR_HEIGHT = 480;
constexpr COLORREF PATH_LINE_COLOR = RGB(255, 255, 255);
constexpr COLORREF PLAYBACK_DOT_COLOR = RGB(255, 0, 0);
// The accent of the buttons' captions: a black mark would vanish on the dark background.
constexpr COLORREF SELECTION_MARK_COLOR = accentTextColor;
constexpr int SELECTION_HALF_SIZE = 3;
constexpr int PLAYBACK_DOT_RADIUS = 5;
// Taller than the main window's side room on small screens: below it first.
constexpr PlacementSide PATH_EDITOR_SIDES[] = {BelowMain, RightOfMain, LeftOfMain, AboveMain};

struct ChildSpec {
    const wchar_t* className;
    const wchar_t* text;
    DWORD style;
    int x, y, width, height;
    int id;
};

constexpr ChildSpec PATH_EDITOR_CONTROLS[] = {
    {L"STATIC", L"Edit recorded mouse path (drag points)", WS_CHILD | WS_VISIBLE, 10, 5, 210, 18, 0},
    {L"STATIC", L"Left click: edit path   |   Mouse wheel: zoom   |   Right click: pan",
     WS_CHILD | WS_VISIBLE, 225, 5, 400, 18, 0},
    {L"BUTTON", L"Apply", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 200, 405, 70, 24, ID_PATH_APPLY},
    {L"BUTTON", L"Close", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 280, 405, 70, 24, ID_PATH_CLOSE},
    {L"BUTTON", L"Clear", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 360, 405, 70, 24, ID_PATH_CLEAR},
};

// The path lives between the header texts and the buttons: a point drawn under a control could
// be neither seen nor grabbed. The view works in this area's own coordinates.
RECT PathArea(HWND window) {
    RECT area{};
    GetClientRect(window, &area);
    for (const ChildSpec& entry : PATH_EDITOR_CONTROLS) {
        if (entry.id == 0)
            area.top = std::max<LONG>(area.top, entry.y + entry.height);
        else
            area.bottom = std::min<LONG>(area.bottom, entry.y);
    }
    area.bottom = std::max(area.bottom, area.top);
    return area;
}

SIZE PathAreaSize(HWND window) {
    RECT area = PathArea(window);
    return {area.right - area.left, area.bottom - area.top};
}

ClientPoint InPathArea(HWND window, ClientPoint point) {
    RECT area = PathArea(window);
    return {point.x - area.left, point.y - area.top};
}

ClientPoint CursorOf(HWND window, LPARAM lParam) {
    return InPathArea(window, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
}

void Repaint(HWND window) {
    InvalidateRect(window, nullptr, TRUE);
}

void CreatePathEditorControls(HWND window, HINSTANCE instance) {
    HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ChildSpec& entry : PATH_EDITOR_CONTROLS) {
        HWND control = CreateWindowExW(
            0, entry.className, entry.text, entry.style, entry.x, entry.y, entry.width, entry.height, window,
            reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), TRUE);
    }
}

void OnLeftButtonDown(HWND window, ClientPoint cursor) {
    SetCapture(window);
    app.pathEdit.dragging = false;
    app.pathEdit.dragSlot = -1;
    if (!FitPathView(window)) return;
    SIZE size = PathAreaSize(window);
    int64_t hit = HitTestPath(cursor, size.cx, size.cy);
    if (hit < 0) return;
    BeginDrag(static_cast<size_t>(hit));
    Repaint(window);
}

void OnMouseMove(HWND window, WPARAM wParam, ClientPoint cursor) {
    if (app.pathView.panning) {
        PanPathViewTo(cursor);
        Repaint(window);
        return;
    }
    if (!(wParam & MK_LBUTTON) || !app.pathEdit.dragging) return;
    SIZE size = PathAreaSize(window);
    PathPoint target = ClientToPath(cursor, size.cx, size.cy);
    DragTo(target.x, target.y);
    Repaint(window);
}

void OnMouseWheel(HWND window, WPARAM wParam, LPARAM lParam) {
    POINT cursor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ScreenToClient(window, &cursor);
    SIZE size = PathAreaSize(window);
    ZoomPathView(InPathArea(window, {cursor.x, cursor.y}), size.cx, size.cy, GET_WHEEL_DELTA_WPARAM(wParam));
    Repaint(window);
}

void ClearPathEdits(HWND window) {
    BuildPath();
    ResetEditState();
    ResetPathView();
    Repaint(window);
}

// Another window took the mouse: a pan or drag whose button release will never arrive ends here,
// so the view does not keep following a cursor with no button held.
void OnCaptureLost(HWND window, HWND newCapture) {
    if (newCapture == window) return;
    app.pathView.panning = false;
    if (app.pathEdit.dragging) EndDrag();
}

} // namespace

void ApplyPath() {
    if (!EditMacroKeepingUndo(WritePathToEvents)) return;
    RebuildEventList();
}

bool FitPathView(HWND window) {
    if (app.pathPoints.empty()) return false;
    SIZE size = PathAreaSize(window);
    return FitPathViewToClient(size.cx, size.cy);
}

void PaintPathEditor(HWND window, HDC dc) {
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, app.backgroundBrush ? app.backgroundBrush : GetSysColorBrush(COLOR_WINDOW));

    const std::vector<PathPoint>& points = app.pathPoints;
    if (!FitPathView(window) || points.size() < 2) return;
    SIZE size = PathAreaSize(window);
    RECT area = PathArea(window);
    std::vector<POINT> polyline(points.size());
    for (size_t i = 0; i < points.size(); ++i) {
        ClientPoint p = PathToClient(points[i], size.cx, size.cy);
        polyline[i] = {p.x + area.left, p.y + area.top};
    }

    HPEN linePen = CreatePen(PS_SOLID, 1, PATH_LINE_COLOR);
    HGDIOBJ previousPen = SelectObject(dc, linePen);
    Polyline(dc, polyline.data(), static_cast<int>(polyline.size()));

    HBRUSH frameBrush = CreateSolidBrush(SELECTION_MARK_COLOR);
    for (size_t index : app.pathEdit.selection) {
        if (index >= polyline.size()) continue;
        const POINT& p = polyline[index];
        RECT mark{p.x - SELECTION_HALF_SIZE, p.y - SELECTION_HALF_SIZE, p.x + SELECTION_HALF_SIZE,
                  p.y + SELECTION_HALF_SIZE};
        FrameRect(dc, &mark, frameBrush);
    }

    int32_t playing = app.playbackPathIndex.load();
    HGDIOBJ previousBrush = nullptr;
    HBRUSH dotBrush = nullptr;
    if (playing >= 0 && static_cast<size_t>(playing) < polyline.size()) {
        const POINT& p = polyline[static_cast<size_t>(playing)];
        dotBrush = CreateSolidBrush(PLAYBACK_DOT_COLOR);
        SelectObject(dc, GetStockObject(NULL_PEN));
        previousBrush = SelectObject(dc, dotBrush);
        Ellipse(dc, p.x - PLAYBACK_DOT_RADIUS, p.y - PLAYBACK_DOT_RADIUS, p.x + PLAYBACK_DOT_RADIUS,
                p.y + PLAYBACK_DOT_RADIUS);
    }

    SelectObject(dc, previousPen);
    if (previousBrush) SelectObject(dc, previousBrush);
    DeleteObject(linePen);
    DeleteObject(frameBrush);
    if (dotBrush) DeleteObject(dotBrush);
}

void OpenPathEditor() {
    BuildPath();
    if (app.pathMoveIndices.empty() || app.pathPoints.size() < 2) {
        MessageBoxW(app.mainWindow, L"Current macro has no mouse movement events to edit.", PATH_EDITOR_TITLE,
                    MB_OK | MB_ICONINFORMATION);
        return;
    }
    HWND existing = app.pathEditorWindow.load();
    if (existing && IsWindow(existing)) {
        ShowWindow(existing, SW_SHOWNORMAL);
        SetForegroundWindow(existing);
        Repaint(existing);
        return;
    }

    HINSTANCE instance = GetModuleHandleW(nullptr);
    EnsureThemeBrushes();
    if (!app.pathEditorClassRegistered)
        app.pathEditorClassRegistered =
            RegisterThemedWindowClass(instance, PATH_EDITOR_CLASS_NAME, PathEditorWindowProc, COLOR_WINDOW);

    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, PATH_EDITOR_CLASS_NAME, PATH_EDITOR_TITLE,
                                  WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, PATH_EDITOR_WIDTH,
                                  PATH_EDITOR_HEIGHT, app.mainWindow, nullptr, instance, nullptr);
    app.pathEditorWindow = window;
    if (!window) return;
    EnableDarkTitleBar(window);
    PlaceSmallWindow(window, app.pathEditorPlace, PATH_EDITOR_SIDES, false);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

LRESULT CALLBACK PathEditorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        CreatePathEditorControls(window, reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance);
        ResetEditState();
        ResetPathView();
        return 0;
    case WM_DESTROY:
        RememberPlace(window, app.pathEditorPlace);
        if (app.pathEditorWindow.load() == window) app.pathEditorWindow = nullptr;
        return 0;
    case WM_ERASEBKGND:
        EraseWithBackground(window, reinterpret_cast<HDC>(wParam), COLOR_WINDOW);
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        PaintPathEditor(window, dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType != ODT_BUTTON) break;
        DrawThemedButton(item);
        return TRUE;
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            ThemeCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_PATH_APPLY:
            ApplyPath();
            return 0;
        case ID_PATH_CLOSE:
            DestroyWindow(window);
            return 0;
        case ID_PATH_CLEAR:
            ClearPathEdits(window);
            return 0;
        default:
            break;
        }
        break;
    case WM_LBUTTONDOWN:
        OnLeftButtonDown(window, CursorOf(window, lParam));
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(window, wParam, CursorOf(window, lParam));
        return 0;
    case WM_LBUTTONUP:
        ReleaseCapture();
        EndDrag();
        return 0;
    case WM_RBUTTONDOWN:
        BeginPathPan(CursorOf(window, lParam));
        SetCapture(window);
        return 0;
    case WM_RBUTTONUP:
        if (!app.pathView.panning) break;
        app.pathView.panning = false;
        ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureLost(window, reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(window, wParam, lParam);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
