// The theme painter and control colours, checked on memory device contexts.
#include "ui/theme/Palette.h"
#include "ui/theme/Theme_win.h"
#include "tests/wine/WineTestSupport.h"

#include <gtest/gtest.h>

namespace {

class ThemeTest : public ::testing::Test {
  protected:
    void SetUp() override { window = CreateTestMainWindow(); }
    void TearDown() override { DestroyTestMainWindow(); }
    HWND window = nullptr;
};

DRAWITEMSTRUCT ButtonItem(HDC dc, HWND button, UINT id, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = id;
    item.itemState = state;
    item.hwndItem = button;
    item.hDC = dc;
    item.rcItem = {0, 0, 80, 26};
    return item;
}

} // namespace

TEST_F(ThemeTest, ButtonFaceFollowsStateAndFocusRectangleIsThreePixelsInside) {
    MemoryCanvas canvas(80, 26);
    HWND deleteButton = GetDlgItem(window, 5001);
    struct Case {
        UINT state;
        COLORREF face;
    } cases[] = {{0, controlColor},
                 {ODS_SELECTED, pressedButtonColor},
                 {ODS_HOTLIGHT, hotButtonColor},
                 {ODS_SELECTED | ODS_HOTLIGHT, pressedButtonColor}};
    for (const Case& c : cases) {
        DRAWITEMSTRUCT item = ButtonItem(canvas.dc, deleteButton, 5001, c.state);
        DrawThemedButton(&item);
        EXPECT_EQ(GetPixel(canvas.dc, 6, 6), c.face) << c.state;
        EXPECT_EQ(GetPixel(canvas.dc, 0, 10), borderColor);
        EXPECT_EQ(GetPixel(canvas.dc, 79, 25), borderColor);
        EXPECT_EQ(GetPixel(canvas.dc, 3, 3), c.face); // no focus rectangle without ODS_FOCUS
    }
    DRAWITEMSTRUCT focused = ButtonItem(canvas.dc, deleteButton, 5001, ODS_FOCUS);
    DrawThemedButton(&focused);
    // The dotted focus frame lies on the rectangle (3, 3)-(77, 23) and nowhere next to it.
    int onTop = 0, onLeft = 0;
    for (int x = 3; x <= 76; ++x) {
        onTop += GetPixel(canvas.dc, x, 3) != controlColor;
        EXPECT_EQ(GetPixel(canvas.dc, x, 2), controlColor) << x;
    }
    for (int y = 3; y <= 22; ++y) {
        onLeft += GetPixel(canvas.dc, 3, y) != controlColor;
        EXPECT_EQ(GetPixel(canvas.dc, 2, y), controlColor) << y;
        if (y > 4 && y < 21) {
            EXPECT_EQ(GetPixel(canvas.dc, 5, y), controlColor) << y;
        }
    }
    EXPECT_GT(onTop, 20);
    EXPECT_GT(onLeft, 5);
    DrawThemedButton(nullptr); // draws nothing, does not crash
}

TEST_F(ThemeTest, ControlColourAnswersSetModeColoursAndBrush) {
    MemoryCanvas canvas(4, 4);
    struct Case {
        UINT message;
        HWND control;
        int mode;
        COLORREF text;
        COLORREF background;
        HBRUSH brush;
    } cases[] = {
        {WM_CTLCOLOREDIT, app.outputEdit, OPAQUE, textColor, controlColor, app.editBrush},
        {WM_CTLCOLORLISTBOX, app.eventList, OPAQUE, textColor, controlColor, app.listBrush},
        {WM_CTLCOLORBTN, app.recordButton, TRANSPARENT, recordPlayCtlTextColor, backgroundColor,
         app.backgroundBrush},
        {WM_CTLCOLORBTN, app.playButton, TRANSPARENT, recordPlayCtlTextColor, backgroundColor,
         app.backgroundBrush},
        {WM_CTLCOLORBTN, app.allCheckbox, TRANSPARENT, textColor, backgroundColor, app.backgroundBrush},
        {WM_CTLCOLORSTATIC, app.coordLabel, TRANSPARENT, textColor, backgroundColor, app.backgroundBrush},
    };
    for (const Case& c : cases) {
        SetBkMode(canvas.dc, c.mode == OPAQUE ? TRANSPARENT : OPAQUE);
        LRESULT brush = SendMessageW(window, c.message, reinterpret_cast<WPARAM>(canvas.dc),
                                     reinterpret_cast<LPARAM>(c.control));
        EXPECT_EQ(reinterpret_cast<HBRUSH>(brush), c.brush) << c.message;
        EXPECT_EQ(GetBkMode(canvas.dc), c.mode) << c.message;
        EXPECT_EQ(GetTextColor(canvas.dc), c.text) << c.message;
        EXPECT_EQ(GetBkColor(canvas.dc), c.background) << c.message;
    }
    // Statics in the main window keep the normal text colour while recording.
    app.recording = true;
    SendMessageW(window, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc),
                 reinterpret_cast<LPARAM>(app.coordLabel));
    EXPECT_EQ(GetTextColor(canvas.dc), textColor);
    app.recording = false;
    // Without brushes the answers fall back to the stock black brush.
    HBRUSH saved = app.editBrush;
    app.editBrush = nullptr;
    EXPECT_EQ(ThemeCtlColor(WM_CTLCOLOREDIT, canvas.dc, app.outputEdit), GetStockObject(BLACK_BRUSH));
    app.editBrush = saved;
}

TEST_F(ThemeTest, BoldFontHasWeightSevenHundredAndTheAskedHeight) {
    HFONT font = MakeBoldGuiFont(-17);
    LOGFONTW info{};
    ASSERT_EQ(GetObjectW(font, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.lfHeight, -17);
    EXPECT_EQ(info.lfWeight, FW_BOLD);
    EXPECT_EQ(AccentFontHeight(-11), -14);
    EXPECT_EQ(AccentFontHeight(-12), -15);
    EXPECT_EQ(AccentFontHeight(0), -16);
}
