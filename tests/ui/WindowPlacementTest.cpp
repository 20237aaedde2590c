// Where the small windows open: beside the main window on the first side with room, slid along
// its edge to stay in the work area, and a remembered place brought back onto the screen.
#include "ui/windows/WindowPlacement.h"

#include <gtest/gtest.h>

TEST(WindowPlacement, TheFirstSideWithRoomBesideTheMainWindowInsideTheWorkArea) {
    const ScreenRect work{0, 0, 1280, 1024};
    const PlacementSide sides[] = {RightOfMain, LeftOfMain, AboveMain, BelowMain};
    const PlacementSide below[] = {BelowMain, RightOfMain};
    ScreenRect main{0, 0, 650, 362};
    EXPECT_EQ(PlaceBesideMain(main, 380, 110, work, sides, false), (ScreenRect{650, 0, 1030, 110}));
    EXPECT_EQ(PlaceBesideMain(main, 370, 340, work, sides, true), (ScreenRect{650, 22, 1020, 362}));
    EXPECT_EQ(PlaceBesideMain(main, 640, 480, work, below, false), (ScreenRect{0, 362, 640, 842}));
    main = {700, 100, 1280, 462}; // no room on the right
    EXPECT_EQ(PlaceBesideMain(main, 380, 110, work, sides, false), (ScreenRect{320, 100, 700, 210}));
    main = {300, 960, 950, 1322}; // low on the screen, wider than the room on both sides
    EXPECT_EQ(PlaceBesideMain(main, 380, 110, work, sides, false), (ScreenRect{300, 850, 680, 960}));
    // No side has room: the first side's place, moved into the work area.
    EXPECT_EQ(PlaceBesideMain({0, 0, 1280, 1024}, 380, 110, work, sides, false),
              (ScreenRect{900, 0, 1280, 110}));
    EXPECT_EQ(KeepInside({2000, -50, 2380, 60}, work), (ScreenRect{900, 0, 1280, 110}));
}
