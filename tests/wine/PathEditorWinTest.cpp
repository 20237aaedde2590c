// The real path editor window, opened with "Edit" and driven with mouse messages: a point grabbed
// where the editor draws it follows the cursor, the paint shows it with its selection frame, and
// "Apply" writes the dragged path into the Move rows. The free area lies between the header texts
// (bottom 23) and the buttons (top 405); the expected path is the model's own, worked out here.
#include "app/ControlTable.h"
#include "tests/wine/WineTestSupport.h"
#include "ui/theme/Palette.h"
#include "ui/windows/PathEditor_win.h"
#include "ui/windows/PathModel.h"
#include "ui/windows/PathView.h"

TEST(PathEditorWin, ADraggedPointFollowsTheCursorIsDrawnFramedAndApplyWritesItsPath) {
    HWND window = CreateTestMainWindow();
    std::vector<MacroEvent> macro;
    for (int32_t i = 0; i < 60; ++i)
        macro.push_back({Move, 4, i < 30 ? 2 : -3, 0, 0, 8});
    macro.insert(macro.begin() + 20, {Key, 0, 0, 0, 0x41, 5});
    constexpr int32_t AREA_TOP = 23, K = 40;
    app.events = macro;
    SendMessageW(window, WM_COMMAND, ID_PATH_EDITOR, 0);
    HWND editor = app.pathEditorWindow;
    ASSERT_NE(editor, nullptr);
    RECT client{};
    GetClientRect(editor, &client);
    const int32_t w = client.right, h = 405 - AREA_TOP;
    ASSERT_GT(client.bottom, 405);
    BuildPath();
    ASSERT_TRUE(FitPathViewToClient(w, h));
    const ClientPoint grab = PathToClient(app.pathPoints[K], w, h), drop = {grab.x + 25, grab.y - 60};
    BeginDrag(K);
    const PathPoint target = ClientToPath(drop, w, h);
    DragTo(target.x, target.y);
    ASSERT_TRUE(WritePathToEvents());
    const std::vector<MacroEvent> expected = app.events;
    // Closed and opened again on the untouched macro, which starts a fresh view.
    SendMessageW(editor, WM_COMMAND, ID_PATH_CLOSE, 0);
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(app.pathEditorWindow.load(), nullptr);
    app.events = macro;
    SendMessageW(window, WM_COMMAND, ID_PATH_EDITOR, 0);
    editor = app.pathEditorWindow;
    ASSERT_NE(editor, nullptr);
    auto at = [](ClientPoint p) { return MAKELPARAM(p.x, p.y + AREA_TOP); };
    SendMessageW(editor, WM_LBUTTONDOWN, MK_LBUTTON, at(grab));
    SendMessageW(editor, WM_MOUSEMOVE, MK_LBUTTON, at(drop));
    SendMessageW(editor, WM_LBUTTONUP, 0, at(drop));

    // Painted: the background, the line through the dragged point and the frame around it.
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ old = SelectObject(dc, bitmap);
    PaintPathEditor(editor, dc);
    ClientPoint drawn = PathToClient(app.pathPoints[K], w, h);
    drawn.y += AREA_TOP;
    EXPECT_EQ(GetPixel(dc, 5, 60), backgroundColor);
    EXPECT_EQ(GetPixel(dc, drawn.x, drawn.y), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, drawn.x - 3, drawn.y - 3), accentTextColor);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);

    SendMessageW(editor, WM_COMMAND, ID_PATH_APPLY, 0);
    EXPECT_EQ(app.events, expected);
    EXPECT_EQ(SendMessageW(app.eventList, LB_GETCOUNT, 0, 0), 61);
    DestroyTestMainWindow();
}
