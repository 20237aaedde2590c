// The path editor's painting under Wine: the path stays clear of the texts and buttons, and the
// selection mark stands out from the background.
#include "tests/wine/WineTestSupport.h"
#include "ui/windows/PathEditor_win.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

TEST(PathEditorWin, PathKeepsClearOfTheControlsAndTheSelectionMarkIsVisible) {
    CreateTestMainWindow();
    // A square in small steps: fitted to the whole client area its top edge would run under the
    // header texts.
    for (MacroEvent step : {MacroEvent{Move, 0, 10}, {Move, 10, 0}, {Move, 0, -10}, {Move, -10, 0}})
        app.events.insert(app.events.end(), 30, step);
    OpenPathEditor();
    HWND editor = app.pathEditorWindow.load();
    ASSERT_NE(editor, nullptr);
    app.pathEdit.selection = {1};
    std::vector<RECT> controls;
    for (HWND child = GetWindow(editor, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, editor, reinterpret_cast<POINT*>(&box), 2);
        controls.push_back(box);
    }

    RECT client;
    GetClientRect(editor, &client);
    HDC windowDc = GetDC(editor);
    HDC dc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(dc, bitmap);
    PaintPathEditor(editor, dc);
    COLORREF background = GetPixel(dc, 0, 0);
    int drawn = 0, hidden = 0, contrast = 0;
    for (int y = 0; y < client.bottom; ++y) {
        for (int x = 0; x < client.right; ++x) {
            COLORREF pixel = GetPixel(dc, x, y);
            if (pixel == background) continue;
            ++drawn;
            POINT at{x, y};
            for (const RECT& box : controls)
                hidden += PtInRect(&box, at);
            if (pixel == RGB(255, 255, 255)) continue; // the path's own line
            int difference = std::abs(GetRValue(pixel) - GetRValue(background)) +
                             std::abs(GetGValue(pixel) - GetGValue(background)) +
                             std::abs(GetBValue(pixel) - GetBValue(background));
            contrast = std::max(contrast, difference);
        }
    }
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(editor, windowDc);
    EXPECT_GT(drawn, 600);
    EXPECT_EQ(hidden, 0) << "path pixels under a text or button";
    EXPECT_GT(contrast, 200) << "the selection mark barely differs from the background";
    DestroyWindow(editor);
    DestroyTestMainWindow();
}
