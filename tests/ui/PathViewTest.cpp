// The path editor's view: fit, transform both ways, hit test, wheel zoom and pan.
#include "app/AppState.h"
#include "ui/windows/PathView.h"

#include <gtest/gtest.h>

namespace {

class PathViewTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAppState(); }
    void TearDown() override { ResetAppState(); }
};

constexpr int32_t W = 640;
constexpr int32_t H = 480;

} // namespace

TEST_F(PathViewTest, FitCentresTheBoxAndTouchesTheMarginOfTheLimitingAxis) {
    EXPECT_FALSE(FitPathViewToClient(W, H)); // no points
    // A horizontal line: its zero height counts as 1, so the width limits the scale.
    app.pathPoints = {{-30, 7}, {10, 7}, {70, 7}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 6.0);
    EXPECT_EQ(app.pathView.minX, -30);
    EXPECT_EQ(app.pathView.maxY, 7);
    ClientPoint left = PathToClient(app.pathPoints[0], W, H);
    ClientPoint right = PathToClient(app.pathPoints[2], W, H);
    EXPECT_EQ(left.x, 20);
    EXPECT_EQ(right.x, W - 20);
    EXPECT_EQ(left.y, H / 2);
    EXPECT_EQ(right.y, H / 2);

    // A tall path: the height limits; y grows downwards as on screen.
    app.pathPoints = {{0, 0}, {10, 100}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 4.4);
    EXPECT_EQ(PathToClient({0, 0}, W, H).y, 20);
    EXPECT_EQ(PathToClient({10, 100}, W, H).y, H - 20);
    EXPECT_EQ(PathToClient({0, 0}, W, H).x, 298);

    // A single point: both ranges count as 1.
    app.pathPoints = {{5, 5}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 440.0);

    // Forty pixels or less on either axis leave nothing to draw; the last fit stays.
    EXPECT_FALSE(FitPathViewToClient(40, H));
    EXPECT_FALSE(FitPathViewToClient(W, 40));
    EXPECT_FALSE(FitPathViewToClient(0, H));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 440.0);
    EXPECT_TRUE(FitPathViewToClient(41, 41));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 1.0);
}

TEST_F(PathViewTest, ClientToPathInvertsTheTransformWithZoomAndPan) {
    app.pathPoints = {{0, 0}, {200, 50}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    app.pathView.zoom = 2.5;
    app.pathView.panX = -37;
    app.pathView.panY = 12.5;
    for (ClientPoint c :
         {ClientPoint{0, 0}, ClientPoint{320, 240}, ClientPoint{611, 17}, ClientPoint{-50, 900}}) {
        PathPoint p = ClientToPath(c, W, H);
        ClientPoint back = PathToClient(p, W, H);
        EXPECT_EQ(back.x, c.x);
        EXPECT_EQ(back.y, c.y);
    }
    // Halves round away from zero: the centre maps onto 320 + pan.
    app.pathView.panX = 0.5;
    EXPECT_EQ(PathToClient({100, 25}, W, H).x, 321);
    app.pathView.panX = -320.5;
    EXPECT_EQ(PathToClient({100, 25}, W, H).x, -1);

    // A scale of exactly 0 counts as 1 when converting back.
    app.pathView.fitScale = 0;
    app.pathView.panX = 0;
    app.pathView.panY = 0;
    PathPoint p = ClientToPath({330, 250}, W, H);
    EXPECT_DOUBLE_EQ(p.x, 110);
    EXPECT_DOUBLE_EQ(p.y, 35);
}

TEST_F(PathViewTest, HitTestTakesTheNearestWithinEightPixelsAndTheLaterOnTies) {
    // Scale 1: rangeX 600 over 600 pixels; points sit at client x = path x + 20, y = 240.
    app.pathPoints = {{0, 0}, {100, 0}, {110, 0}, {600, 0}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    ASSERT_DOUBLE_EQ(app.pathView.fitScale, 1.0);
    EXPECT_EQ(HitTestPath({125, 240}, W, H), 2);  // halfway between 1 and 2
    EXPECT_EQ(HitTestPath({124, 240}, W, H), 1);  // one pixel nearer to 1
    EXPECT_EQ(HitTestPath({20, 248}, W, H), 0);   // exactly 8 pixels away
    EXPECT_EQ(HitTestPath({20, 249}, W, H), -1);  // 9 pixels
    EXPECT_EQ(HitTestPath({26, 245}, W, H), 0);   // 6, 5: 61
    EXPECT_EQ(HitTestPath({26, 246}, W, H), -1);  // 6, 6: 72 > 64
    EXPECT_EQ(HitTestPath({300, 240}, W, H), -1); // far from every point
    // Points drawn on the same pixel: the last one is grabbed.
    app.pathPoints = {{0, 0}, {300, 0}, {300, 0}, {600, 0}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    EXPECT_EQ(HitTestPath({320, 240}, W, H), 2);
}

TEST_F(PathViewTest, WheelZoomKeepsThePointUnderTheCursorAndStopsAtTheLimits) {
    app.pathPoints = {{-40, 10}, {160, 90}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    ClientPoint cursor{101, 377};
    PathPoint anchor = ClientToPath(cursor, W, H);
    ZoomPathView(cursor, W, H, 120);
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 1.1);
    PathPoint after = ClientToPath(cursor, W, H);
    EXPECT_NEAR(after.x, anchor.x, 1e-9);
    EXPECT_NEAR(after.y, anchor.y, 1e-9);
    ZoomPathView(cursor, W, H, -120);
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 1.1 * 0.9);
    ZoomPathView(cursor, W, H, 0); // a zero delta zooms out
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 1.1 * 0.9 * 0.9);
    after = ClientToPath(cursor, W, H);
    EXPECT_NEAR(after.x, anchor.x, 1e-9);
    EXPECT_NEAR(after.y, anchor.y, 1e-9);

    // Twenty-five notches in reach the limit 10; further notches leave everything exactly still.
    for (int i = 0; i < 40; ++i)
        ZoomPathView({50 + i, 60}, W, H, 120);
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 10.0);
    PathView atLimit = app.pathView;
    ZoomPathView({600, 10}, W, H, 120);
    EXPECT_EQ(app.pathView.zoom, atLimit.zoom);
    EXPECT_EQ(app.pathView.panX, atLimit.panX);
    EXPECT_EQ(app.pathView.panY, atLimit.panY);

    for (int i = 0; i < 80; ++i)
        ZoomPathView({300, 200}, W, H, -120);
    EXPECT_DOUBLE_EQ(app.pathView.zoom, 0.1);
    atLimit = app.pathView;
    ZoomPathView({5, 400}, W, H, -1);
    EXPECT_EQ(app.pathView.zoom, atLimit.zoom);
    EXPECT_EQ(app.pathView.panX, atLimit.panX);
    EXPECT_EQ(app.pathView.panY, atLimit.panY);
}

TEST_F(PathViewTest, PanFollowsTheCursorFromWhereItStartedAndResetClearsTheView) {
    app.pathView.panX = 4;
    app.pathView.panY = -6;
    BeginPathPan({100, 100});
    EXPECT_TRUE(app.pathView.panning);
    PanPathViewTo({130, 90});
    EXPECT_EQ(app.pathView.panX, 34);
    EXPECT_EQ(app.pathView.panY, -16);
    PanPathViewTo({90, 120}); // always from the start, not from the previous step
    EXPECT_EQ(app.pathView.panX, -6);
    EXPECT_EQ(app.pathView.panY, 14);

    app.pathView.zoom = 3;
    app.pathView.fitScale = 2;
    ResetPathView();
    EXPECT_EQ(app.pathView.zoom, 1.0);
    EXPECT_EQ(app.pathView.panX, 0.0);
    EXPECT_EQ(app.pathView.panY, 0.0);
    EXPECT_FALSE(app.pathView.panning);
    EXPECT_EQ(app.pathView.fitScale, 2); // the fit is redone by the next paint
}
