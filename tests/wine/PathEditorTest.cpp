// The path editor window: opening and reopening, its controls, painting (line, marks, playback
// dot), dragging points, pan and wheel zoom through real messages, and the three commands.
#include "app/AppState.h"
#include "ui/theme/Palette.h"
#include "ui/windows/PathEditor_win.h"
#include "ui/windows/PathModel.h"
#include "ui/windows/PathView.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr COLORREF WHITE = RGB(255, 255, 255);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF BLACK = RGB(0, 0, 0);

// A bitmap the editor paints into, at the editor's client size.
struct EditorCanvas {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    int width = 0, height = 0;
    explicit EditorCanvas(HWND editor) {
        RECT client{};
        GetClientRect(editor, &client);
        width = client.right;
        height = client.bottom;
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        previous = SelectObject(dc, bitmap);
        PaintPathEditor(editor, dc);
    }
    ~EditorCanvas() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    std::vector<COLORREF> Pixels() const {
        std::vector<COLORREF> all;
        for (int y = 0; y < height; y += 2)
            for (int x = 0; x < width; x += 2)
                all.push_back(At(x, y));
        return all;
    }
};

LPARAM ClientLParam(ClientPoint p) {
    return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
}

class PathEditorTest : public ::testing::Test {
  protected:
    void SetUp() override { main = CreateTestMainWindow(); }
    void TearDown() override { DestroyTestMainWindow(); }

    HWND Open(std::vector<MacroEvent> events) {
        app.events = std::move(events);
        OpenPathEditor();
        PumpMessages();
        return app.pathEditorWindow.load();
    }
    SIZE Client(HWND editor) {
        RECT r{};
        GetClientRect(editor, &r);
        return {r.right, r.bottom};
    }
    ClientPoint PointOnScreen(HWND editor, size_t index) {
        SIZE size = Client(editor);
        FitPathView(editor);
        return PathToClient(app.pathPoints[index], size.cx, size.cy);
    }
    HWND main = nullptr;
};

std::vector<MacroEvent> Moves(std::initializer_list<std::pair<int, int>> steps) {
    std::vector<MacroEvent> events;
    for (auto [dx, dy] : steps)
        events.push_back({Move, dx, dy, 0, 0, 10});
    return events;
}

// Closes the message box that OpenPathEditor shows and remembers its text.
std::wstring seenBoxText;
std::wstring seenBoxCaption;
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR timer, DWORD) {
    // Only this thread's box: other test processes share the desktop.
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (lstrcmpW(name, L"#32770") != 0) return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);
    seenBoxText = text;
    seenBoxCaption = WindowText(box);
    KillTimer(nullptr, timer);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

} // namespace

TEST_F(PathEditorTest, OpensAToolWindowWithItsControlsAndRaisesItAgainWithARebuiltPath) {
    HWND editor = Open(Moves({{10, 0}, {0, 10}}));
    ASSERT_TRUE(editor);
    EXPECT_EQ(WindowText(editor), L"Mouse Path Editor");
    wchar_t className[64] = {};
    GetClassNameW(editor, className, 64);
    EXPECT_STREQ(className, L"KorvaPathEditorWindow");
    RECT outer{};
    GetWindowRect(editor, &outer);
    EXPECT_EQ(outer.right - outer.left, 640);
    EXPECT_EQ(outer.bottom - outer.top, 480);
    EXPECT_TRUE(GetWindowLongPtrW(editor, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    LONG_PTR style = GetWindowLongPtrW(editor, GWL_STYLE);
    EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_EQ(GetWindow(editor, GW_OWNER), main);
    EXPECT_TRUE(IsWindowVisible(editor));

    struct Expected {
        int id;
        const wchar_t* text;
        RECT rect;
    } controls[] = {{9001, L"Apply", {200, 405, 270, 429}},
                    {9002, L"Close", {280, 405, 350, 429}},
                    {9003, L"Clear", {360, 405, 430, 429}}};
    for (const Expected& c : controls) {
        HWND button = GetDlgItem(editor, c.id);
        ASSERT_TRUE(button) << c.id;
        EXPECT_EQ(WindowText(button), c.text);
        EXPECT_EQ(GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        RECT r{};
        GetWindowRect(button, &r);
        MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&r), 2);
        EXPECT_TRUE(EqualRect(&r, &c.rect)) << c.id;
        EXPECT_EQ(SendMessageW(button, WM_GETFONT, 0, 0),
                  reinterpret_cast<LRESULT>(GetStockObject(DEFAULT_GUI_FONT)));
    }
    std::vector<std::wstring> statics;
    for (HWND child = GetWindow(editor, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        GetClassNameW(child, className, 64);
        if (lstrcmpiW(className, L"Static") == 0) statics.push_back(WindowText(child));
    }
    EXPECT_EQ(statics, (std::vector<std::wstring>{
                           L"Edit recorded mouse path (drag points)",
                           L"Left click: edit path   |   Mouse wheel: zoom   |   Right click: pan"}));

    // Pressing "Edit" again: same window, path rebuilt from the changed macro, mark cleared,
    // zoom and pan kept.
    app.pathEdit.selection = {1};
    app.pathView.zoom = 2.0;
    app.pathView.panX = 15;
    app.events.push_back({Move, 5, 5, 0, 0, 0});
    SendMessageW(main, WM_COMMAND, MAKEWPARAM(6005, BN_CLICKED), reinterpret_cast<LPARAM>(ControlById(6005)));
    PumpMessages();
    EXPECT_EQ(app.pathEditorWindow.load(), editor);
    EXPECT_EQ(app.pathPoints.size(), 4u);
    EXPECT_TRUE(app.pathEdit.selection.empty());
    EXPECT_EQ(app.pathView.zoom, 2.0);
    EXPECT_EQ(app.pathView.panX, 15);

    // "Close" destroys it; the path and the view outlive the window.
    SendMessageW(editor, WM_COMMAND, MAKEWPARAM(9002, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(app.pathEditorWindow.load(), nullptr);
    EXPECT_EQ(app.pathPoints.size(), 4u);
    EXPECT_EQ(app.pathView.zoom, 2.0);
    // A new window starts with a fresh view.
    editor = Open(app.events);
    ASSERT_TRUE(editor);
    EXPECT_EQ(app.pathView.zoom, 1.0);
    EXPECT_EQ(app.pathView.panX, 0.0);
}

TEST_F(PathEditorTest, AMacroWithoutMovesGetsTheNoteAndNoWindow) {
    seenBoxText.clear();
    SetTimer(nullptr, 0, 50, CloseMessageBox);
    app.events = {{Key, 0, 0, 0, 0x41, 0}, {ButtonDown, 0, 0, 1, 0, 0}};
    OpenPathEditor();
    EXPECT_EQ(seenBoxText, L"Current macro has no mouse movement events to edit.");
    EXPECT_EQ(seenBoxCaption, L"Mouse Path Editor");
    EXPECT_EQ(app.pathEditorWindow.load(), nullptr);
    EXPECT_EQ(app.pathPoints.size(), 1u);
}

TEST_F(PathEditorTest, AHorizontalPathIsDrawnAcrossTheMiddleBetweenTheMargins) {
    HWND editor = Open(Moves({{50, 0}, {50, 0}, {50, 0}, {50, 0}}));
    ASSERT_TRUE(editor);
    EditorCanvas canvas(editor);
    int w = canvas.width, h = canvas.height;
    ClientPoint start = PointOnScreen(editor, 0);
    ClientPoint end = PointOnScreen(editor, 4);
    EXPECT_LE(std::abs(2 * start.y - h), 1) << "the line lies at half the client height";
    EXPECT_EQ(start.y, end.y);
    EXPECT_EQ(start.x, 20);
    EXPECT_EQ(end.x, w - 20);
    for (int x = 20; x < w - 20; ++x)
        ASSERT_EQ(canvas.At(x, start.y), WHITE) << x;
    EXPECT_EQ(canvas.At(19, start.y), backgroundColor);
    EXPECT_EQ(canvas.At(w - 19, start.y), backgroundColor);
    for (int x = 0; x < w; x += 7) {
        EXPECT_EQ(canvas.At(x, start.y - 1), backgroundColor) << x;
        EXPECT_EQ(canvas.At(x, start.y + 1), backgroundColor) << x;
        EXPECT_EQ(canvas.At(x, 2), backgroundColor) << x;
    }
    // Nothing marked, nothing played: no black frame, no red dot anywhere.
    for (COLORREF c : canvas.Pixels())
        ASSERT_TRUE(c == WHITE || c == backgroundColor);
}

TEST_F(PathEditorTest, TheGrabbedPointIsFramedAndThePlayedPointCarriesARedDot) {
    HWND editor = Open(Moves({{40, 0}, {40, 20}, {0, 40}, {-40, 20}, {-40, 0}}));
    ASSERT_TRUE(editor);
    ClientPoint marked = PointOnScreen(editor, 1);
    ClientPoint played = PointOnScreen(editor, 4);
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, ClientLParam(marked));
    SendMessageW(editor, WM_LBUTTONUP, 0, ClientLParam(marked));
    ASSERT_EQ(app.pathEdit.selection, std::vector<size_t>{1});
    app.playbackPathIndex = 4;
    {
        EditorCanvas canvas(editor);
        // Frame from (x - 3, y - 3) to (x + 2, y + 2) inclusive.
        EXPECT_EQ(canvas.At(marked.x - 3, marked.y - 3), BLACK);
        EXPECT_EQ(canvas.At(marked.x + 2, marked.y + 2), BLACK);
        EXPECT_EQ(canvas.At(marked.x - 3, marked.y + 1), BLACK);
        EXPECT_EQ(canvas.At(marked.x - 4, marked.y - 4), backgroundColor);
        EXPECT_EQ(canvas.At(played.x, played.y), RED);
        EXPECT_EQ(canvas.At(played.x - 3, played.y + 2), RED);
        EXPECT_EQ(canvas.At(played.x + 6, played.y), backgroundColor);
        EXPECT_EQ(canvas.At(played.x, played.y - 7), backgroundColor);
    }
    // The dot goes when playback ends; an index beyond the path draws nothing.
    for (int32_t index : {-1, 6, 600}) {
        app.playbackPathIndex = index;
        EditorCanvas canvas(editor);
        EXPECT_NE(canvas.At(played.x, played.y), RED) << index;
        for (COLORREF c : canvas.Pixels())
            ASSERT_NE(c, RED) << index;
    }
}

TEST_F(PathEditorTest, TheShownWindowRepaintsTheDotWhenPlaybackInvalidatesIt) {
    HWND editor = Open(Moves({{30, 10}, {30, -10}, {30, 10}, {30, -10}}));
    ASSERT_TRUE(editor);
    // Away from the spot where other test processes on this desktop open their windows, so that
    // none of them covers the pixels read back below.
    SetWindowPos(editor, HWND_TOP, 600, 500, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    PumpMessages();
    ClientPoint played = PointOnScreen(editor, 2);
    app.playbackPathIndex = 2;
    InvalidateRect(editor, nullptr, FALSE); // as the playback thread does: no erase
    UpdateWindow(editor);
    PumpMessages();
    HDC dc = GetDC(editor);
    EXPECT_EQ(GetPixel(dc, played.x, played.y), RED);
    // The buttons are still there after a paint without erasing (the "Apply" face and its border).
    EXPECT_EQ(GetPixel(dc, 235, 409), controlColor);
    EXPECT_EQ(GetPixel(dc, 200, 417), borderColor);
    ReleaseDC(editor, dc);
}

TEST_F(PathEditorTest, DraggingAPointWithTheLeftButtonReshapesThePathAndApplyWritesIt) {
    HWND editor = Open(Moves({{10, 0}, {10, 0}, {10, 0}, {10, 0}}));
    ASSERT_TRUE(editor);
    // Pan so that the client pixel (300, 200) is exactly the path position (20, 30).
    SIZE size = Client(editor);
    ASSERT_TRUE(FitPathView(editor));
    double scale = app.pathView.fitScale;
    app.pathView.panX = 300 - size.cx / 2.0;
    app.pathView.panY = 200 - size.cy / 2.0 - 30 * scale;
    ClientPoint grab = PointOnScreen(editor, 2);
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, ClientLParam({grab.x + 3, grab.y - 2}));
    EXPECT_EQ(GetCapture(), editor);
    EXPECT_TRUE(app.pathEdit.dragging);
    EXPECT_EQ(app.pathEdit.selection, std::vector<size_t>{2});

    // Moves without the left button do nothing.
    SendMessageW(editor, WM_MOUSEMOVE, 0, ClientLParam({300, 200}));
    EXPECT_EQ(app.pathPoints[2].y, 0);
    SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, ClientLParam({300, 200}));
    const double expectedY[] = {10.208, 17.471, 20.625, 17.471, 10.208};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_NEAR(app.pathPoints[i].y, expectedY[i], 5e-4) << i;
    SendMessageW(editor, WM_LBUTTONUP, 0, ClientLParam({300, 200}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(app.pathEdit.dragging);
    EXPECT_EQ(app.pathEdit.selection, std::vector<size_t>{2});
    // Later moves with the button down change nothing until the next grab.
    SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, ClientLParam({10, 10}));
    EXPECT_NEAR(app.pathPoints[2].y, 20.625, 5e-4);

    // The bounding box grew: the next paint fits the larger box.
    { EditorCanvas canvas(editor); }
    EXPECT_NEAR(app.pathView.maxY, 20.625, 5e-4);
    std::vector<PathPoint> edited = app.pathPoints;

    SendMessageW(editor, WM_COMMAND, MAKEWPARAM(9001, BN_CLICKED), 0);
    EXPECT_TRUE(IsWindow(editor));
    ASSERT_EQ(app.events.size(), 4u);
    const int32_t expectedDy[] = {7, 3, -3, -7};
    for (size_t j = 0; j < 4; ++j)
        EXPECT_EQ(app.events[j], (MacroEvent{Move, 10, expectedDy[j], 0, 0, 10})) << j;
    // The editor keeps showing the unrounded points.
    EXPECT_EQ(app.pathPoints[1].y, edited[1].y);

    // "Clear" rebuilds from the edited macro with four passes, drops the drag and resets the view.
    app.pathView.zoom = 3;
    SendMessageW(editor, WM_COMMAND, MAKEWPARAM(9003, BN_CLICKED), 0);
    std::vector<PathPoint> rebuilt = app.pathPoints;
    BuildPath();
    SmoothPath();
    ASSERT_EQ(rebuilt.size(), app.pathPoints.size());
    for (size_t i = 0; i < rebuilt.size(); ++i)
        EXPECT_EQ(rebuilt[i].y, app.pathPoints[i].y) << i;
    EXPECT_NE(rebuilt[2].y, edited[2].y);
    EXPECT_EQ(app.pathView.zoom, 1.0);
    EXPECT_EQ(app.pathView.panY, 0.0);
    EXPECT_EQ(app.pathEdit.dragSlot, -1);
}

TEST_F(PathEditorTest, PressesOnTiesGrabTheLaterPointAndPressesBesideThePathGrabNothing) {
    // Points 1 and 2 are the same path position, so they share a pixel.
    HWND editor = Open(Moves({{50, 0}, {0, 0}, {50, 0}}));
    ASSERT_TRUE(editor);
    app.pathPoints = {{0, 0}, {50, 0}, {50, 0}, {100, 0}};
    ClientPoint shared = PointOnScreen(editor, 1);
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, ClientLParam(shared));
    SendMessageW(editor, WM_LBUTTONUP, 0, ClientLParam(shared));
    EXPECT_EQ(app.pathEdit.selection, std::vector<size_t>{2});

    // Nine pixels below: nothing grabbed, the mark stays, the capture lasts until the release.
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, ClientLParam({shared.x, shared.y + 9}));
    EXPECT_FALSE(app.pathEdit.dragging);
    EXPECT_EQ(app.pathEdit.dragSlot, -1);
    EXPECT_EQ(app.pathEdit.selection, std::vector<size_t>{2});
    EXPECT_EQ(GetCapture(), editor);
    std::vector<PathPoint> before = app.pathPoints;
    SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, ClientLParam({shared.x + 40, shared.y + 60}));
    EXPECT_EQ(app.pathPoints[2].y, before[2].y);
    SendMessageW(editor, WM_LBUTTONUP, 0, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(PathEditorTest, RightButtonPansAndTheWheelZoomsAboutTheCursor) {
    HWND editor = Open(Moves({{60, 20}, {60, -20}, {-30, 50}}));
    ASSERT_TRUE(editor);
    SendMessageW(editor, WM_RBUTTONDOWN, MK_RBUTTON, ClientLParam({100, 100}));
    EXPECT_TRUE(app.pathView.panning);
    EXPECT_EQ(GetCapture(), editor);
    SendMessageW(editor, WM_MOUSEMOVE, MK_RBUTTON, ClientLParam({130, 90}));
    EXPECT_EQ(app.pathView.panX, 30);
    EXPECT_EQ(app.pathView.panY, -10);
    SendMessageW(editor, WM_RBUTTONUP, 0, ClientLParam({130, 90}));
    EXPECT_FALSE(app.pathView.panning);
    EXPECT_EQ(GetCapture(), nullptr);
    SendMessageW(editor, WM_MOUSEMOVE, 0, ClientLParam({300, 300}));
    EXPECT_EQ(app.pathView.panX, 30);

    // The wheel: the point drawn under the cursor stays under it.
    ClientPoint under = PointOnScreen(editor, 2);
    POINT screen{under.x, under.y};
    ClientToScreen(editor, &screen);
    auto wheel = [&](short delta) {
        SendMessageW(editor, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)),
                     MAKELPARAM(screen.x, screen.y));
    };
    wheel(WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 1.1);
    ClientPoint still = PointOnScreen(editor, 2);
    EXPECT_EQ(still.x, under.x);
    EXPECT_EQ(still.y, under.y);
    {
        EditorCanvas canvas(editor);
        EXPECT_EQ(canvas.At(under.x, under.y), WHITE);
    }
    wheel(-WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 1.1 * 0.9);

    // At the limits the drawing does not move at all.
    for (int i = 0; i < 40; ++i)
        wheel(WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 10.0);
    std::vector<COLORREF> atMax = EditorCanvas(editor).Pixels();
    wheel(WHEEL_DELTA);
    EXPECT_TRUE(atMax == EditorCanvas(editor).Pixels());
    for (int i = 0; i < 80; ++i)
        wheel(-WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 0.1);
    std::vector<COLORREF> atMin = EditorCanvas(editor).Pixels();
    wheel(-WHEEL_DELTA);
    EXPECT_TRUE(atMin == EditorCanvas(editor).Pixels());
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 0.1);
}

TEST_F(PathEditorTest, LosingTheCaptureEndsAPanAndADrag) {
    HWND editor = Open(Moves({{10, 0}, {10, 0}, {10, 0}}));
    ASSERT_TRUE(editor);
    SendMessageW(editor, WM_RBUTTONDOWN, MK_RBUTTON, ClientLParam({50, 50}));
    ASSERT_TRUE(app.pathView.panning);
    SetCapture(main);
    EXPECT_FALSE(app.pathView.panning);
    ReleaseCapture();

    ClientPoint grab = PointOnScreen(editor, 1);
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, ClientLParam(grab));
    ASSERT_TRUE(app.pathEdit.dragging);
    SetCapture(main);
    EXPECT_FALSE(app.pathEdit.dragging);
    ReleaseCapture();
}
