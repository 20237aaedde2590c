// The path editor's view: fit limits, the transform both ways, hit-test ties and zoom limits.
#include "app/AppState.h"
#include "ui/windows/PathView.h"

#include <gtest/gtest.h>

namespace {

class PathViewTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAppState(); }
    void TearDown() override { ResetAppState(); }
};

constexpr int32_t W = 640, H = 480;

} // namespace

TEST_F(PathViewTest, FitKeepsTheMarginsAndNeedsMoreThanFortyPixelsOnEachAxis) {
    EXPECT_FALSE(FitPathViewToClient(W, H)); // no points
    // A tall path: the height limits; y grows downwards as on screen.
    app.pathPoints = {{0, 0}, {10, 100}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 4.4);
    EXPECT_EQ(PathToClient({10, 100}, W, H).y, H - 20);

    // Forty pixels or less on either axis leave nothing to draw; the last fit stays.
    EXPECT_FALSE(FitPathViewToClient(40, H));
    EXPECT_FALSE(FitPathViewToClient(W, 40));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 4.4);
    app.pathPoints = {{5, 5}}; // a single point: both ranges count as 1
    ASSERT_TRUE(FitPathViewToClient(41, 41));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 1.0);
    app.pathView.fitScale = 0; // the whole scale counts as 1 when converting back
    app.pathView.zoom = 2.5;
    EXPECT_DOUBLE_EQ(ClientToPath({330, 250}, W, H).x, 15);
}

TEST_F(PathViewTest, HitTestTakesTheNearestWithinEightPixelsAndTheLaterOnTies) {
    // Scale 1: rangeX 600 over 600 pixels; points sit at client x = path x + 20, y = 240.
    app.pathPoints = {{0, 0}, {100, 0}, {110, 0}, {600, 0}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    ASSERT_DOUBLE_EQ(app.pathView.fitScale, 1.0);
    EXPECT_EQ(HitTestPath({125, 240}, W, H), 2); // halfway between 1 and 2
    EXPECT_EQ(HitTestPath({124, 240}, W, H), 1); // one pixel nearer to 1
    EXPECT_EQ(HitTestPath({20, 248}, W, H), 0);  // exactly 8 pixels away
    EXPECT_EQ(HitTestPath({20, 249}, W, H), -1); // 9 pixels
    EXPECT_EQ(HitTestPath({26, 245}, W, H), 0);  // 6, 5: 61
    EXPECT_EQ(HitTestPath({26, 246}, W, H), -1); // 6, 6: 72 > 64
}

TEST_F(PathViewTest, WheelZoomStopsAtTenAndATenthLeavingTheViewExactlyStill) {
    app.pathPoints = {{-40, 10}, {160, 90}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    for (auto [delta, limit] : {std::pair{120, 10.0}, std::pair{0, 0.1}}) { // a zero delta zooms out
        for (int i = 0; i < 80; ++i)
            ZoomPathView({50 + i, 60}, W, H, delta);
        EXPECT_DOUBLE_EQ(app.pathView.zoom, limit);
        PathView atLimit = app.pathView;
        ZoomPathView({600, 10}, W, H, delta);
        EXPECT_EQ(app.pathView.zoom, atLimit.zoom);
        EXPECT_EQ(app.pathView.panX, atLimit.panX);
        EXPECT_EQ(app.pathView.panY, atLimit.panY);
    }
}
