// The path editor's model and view: building and smoothing, the drag falloff and its reach, writing
// the drags back, fit limits, the transform both ways, hit-test ties and zoom limits.
#include "core/AppState.h"
#include "ui/windows/PathModel.h"
#include "ui/windows/PathView.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t W = 640, H = 480;

class PathTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAppState(); }
    static MacroEvent MoveBy(int32_t dx, int32_t dy, uint32_t ms = 0) { return {Move, dx, dy, 0, 0, ms}; }
    static void ExpectPoints(const std::vector<PathPoint>& expected, double tolerance) {
        ASSERT_EQ(app.pathPoints.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_NEAR(app.pathPoints[i].x, expected[i].x, tolerance) << i;
            EXPECT_NEAR(app.pathPoints[i].y, expected[i].y, tolerance) << i;
        }
    }
};

} // namespace

TEST_F(PathTest, BuildTakesOnlyMovesAndSmoothsTwiceEachPassFromThePreviousValues) {
    // x: 0, 9, 0, 9. A pass that reused its own new values would give 0, 3, 4, 9.
    app.events = {MoveBy(9, 0), MoveBy(-9, 0), MoveBy(9, 0)};
    BuildPath();
    ExpectPoints({{0, 0}, {3, 0}, {6, 0}, {9, 0}}, 1e-9);
    // Two Moves around a click at a screen position, which is no movement: the corner is pulled in
    // by both passes (one would give 20/3, 10/3).
    app.events = {MoveBy(10, 0), {ButtonDown, 812, 433, 1, AT_POSITION, 4}, MoveBy(0, 10)};
    BuildPath();
    EXPECT_EQ(app.pathMoveIndices, (std::vector<size_t>{0, 2}));
    ExpectPoints({{0, 0}, {50.0 / 9, 40.0 / 9}, {10, 10}}, 1e-9);
}

TEST_F(PathTest, ReachIsThreeToFortyPointsAndGrowsWithThePullUpToFourTimes) {
    for (auto [moves, reach] :
         {std::pair<size_t, double>{95, 3.0}, {96, 3.03125}, {1279, 40.0}, {5000, 40.0}}) {
        app.events.assign(moves, MoveBy(1, 1));
        BuildPath();
        BeginDrag(0);
        EXPECT_DOUBLE_EQ(app.pathEdit.falloffRadius, reach) << moves;
    }
    // Sixty points, base reach 3: a pull of 100 triples it, 150 and more quadruple it; smoothing carries
    // the weights two further, and each step starts from the snapshot.
    app.events.assign(59, MoveBy(1, 0));
    BuildPath();
    BeginDrag(30);
    for (auto [pull, farthest] : {std::pair<double, size_t>{5000, 13}, {150, 13}, {100, 10}}) {
        DragTo(30, pull);
        EXPECT_NE(app.pathPoints[30 + farthest].y, 0.0) << pull;
        EXPECT_NE(app.pathPoints[30 - farthest].y, 0.0) << pull;
        EXPECT_EQ(app.pathPoints[31 + farthest].y, 0.0) << pull;
        EXPECT_EQ(app.pathPoints[29 - farthest].y, 0.0) << pull;
    }
}

TEST_F(PathTest, DragStartsEachStepFromTheSnapshotAndIgnoresStaleState) {
    app.events.assign(4, MoveBy(10, 0));
    BuildPath();
    BeginDrag(2);
    DragTo(-90, 60);
    DragTo(20, 30);
    ExpectPoints({{0, 10.208}, {10, 17.471}, {20, 20.625}, {30, 17.471}, {40, 10.208}}, 5e-4);
    std::vector<PathPoint> dragged = app.pathPoints;
    app.pathEdit.dragSlot = 1; // beyond the selection
    DragTo(5, 5);
    ExpectPoints(dragged, 0);
    app.pathEdit.dragSlot = 0;
    app.pathEdit.selection = {5}; // just past the end of the path
    DragTo(5, 5);
    ExpectPoints(dragged, 0);
    // The macro was rebuilt into a longer path while the drag still holds the old snapshot.
    app.events.push_back(MoveBy(1, 1));
    BuildPath();
    app.pathEdit.selection = {1};
    std::vector<PathPoint> built = app.pathPoints;
    DragTo(5, 5);
    ExpectPoints(built, 0);
}

TEST_F(PathTest, ApplyWritesOnlyTheDragsShiftsEachPointRoundedOnItsOwnAndSkipsStaleIndices) {
    // A triangle with a key between its moves, and a zig-zag that smoothing would flatten.
    const std::vector<MacroEvent> recorded = {MoveBy(-200, 0),  MoveBy(100, -173, 4), {Key, 0, 0, 0, 0x41, 5},
                                              MoveBy(100, 173), MoveBy(0, 5),         MoveBy(0, 5),
                                              MoveBy(0, -10),   MoveBy(7, 0),         MoveBy(7, 0)};
    app.events = recorded;
    BuildPath();
    ASSERT_TRUE(WritePathToEvents());
    EXPECT_EQ(app.events, recorded); // Apply without a drag changes nothing
    BeginDrag(8);                    // the end point, reach 3 growing with the pull
    DragTo(app.pathPoints[8].x + 10.4, app.pathPoints[8].y - 0.5);
    EndDrag();
    ASSERT_TRUE(WritePathToEvents());
    // The end point lands on its recorded place plus the drag rounded: (14 + 10, 0 - 1).
    int32_t endX = 0, endY = 0;
    for (const MacroEvent& event : app.events)
        endX += event.dx, endY += event.dy;
    EXPECT_EQ(std::pair(endX, endY), std::pair(24, -1));
    // Points 0 to 2 lie beyond the reach and its smoothing: the first moves and the key stay.
    EXPECT_EQ(std::vector(app.events.begin(), app.events.begin() + 3),
              std::vector(recorded.begin(), recorded.begin() + 3));
    std::vector<MacroEvent> applied = app.events;
    ASSERT_TRUE(WritePathToEvents()); // applied shifts are not added twice
    EXPECT_EQ(app.events, applied);
    app.pathPoints.back() = {1e12, -1e12}; // held at 32 bits, not wrapped
    ASSERT_TRUE(WritePathToEvents());
    EXPECT_EQ(app.events.back(), MoveBy(INT32_MAX, INT32_MIN));
    app.pathPoints.pop_back(); // counts that do not match leave the macro alone
    std::vector<MacroEvent> before = app.events;
    EXPECT_FALSE(WritePathToEvents());
    EXPECT_EQ(app.events, before);
    // The macro changed under the path: an index that now names a click (which keeps its screen
    // position) or lies beyond the end is skipped; the Move it still names gets its shift.
    app.events = {{ButtonDown, 812, 433, 1, AT_POSITION, 5}, MoveBy(0, 10, 3), MoveBy(1, 1, 4)};
    app.pathMoveIndices = {0, 2, 3};
    app.pathBasePoints = {{0, 0}, {1, 1}, {2, 2}, {3, 3}};
    app.pathPoints = {{0, 0}, {1, 1}, {3.5, 1.4}, {3, 3}};
    ASSERT_TRUE(WritePathToEvents());
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{
                              {ButtonDown, 812, 433, 1, AT_POSITION, 5}, MoveBy(0, 10, 3), MoveBy(3, 0, 4)}));
}

TEST_F(PathTest, ViewFitsInsideItsMarginsHitTestsTheNearestWithinEightPixelsAndZoomsWithinItsLimits) {
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
    // While a point is dragged the fit holds, so the point stays under the pointer.
    app.pathPoints = {{0, 0}, {10, 100}};
    BeginDrag(1);
    DragTo(10, 1000);
    ASSERT_TRUE(FitPathViewToClient(W, H));
    EXPECT_DOUBLE_EQ(app.pathView.fitScale, 1.0);
    EndDrag();
    ASSERT_TRUE(FitPathViewToClient(W, H));
    EXPECT_NEAR(app.pathView.fitScale, 440 / 243.75, 1e-9); // both points moved, 756.25 and 900 down
    app.pathView.fitScale = 0; // the whole scale counts as 1 when converting back
    app.pathView.zoom = 2.5;
    EXPECT_DOUBLE_EQ(ClientToPath({330, 250}, W, H).x, 15);
    // The hit test at scale 1: rangeX 600 over 600 pixels; points sit at client x = path x + 20, y = 240.
    ResetPathView();
    app.pathPoints = {{0, 0}, {100, 0}, {110, 0}, {600, 0}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    EXPECT_EQ(HitTestPath({125, 240}, W, H), 2); // halfway between 1 and 2
    EXPECT_EQ(HitTestPath({124, 240}, W, H), 1); // one pixel nearer to 1
    EXPECT_EQ(HitTestPath({20, 248}, W, H), 0);  // exactly 8 pixels away
    EXPECT_EQ(HitTestPath({26, 245}, W, H), 0);  // 6, 5: 61
    EXPECT_EQ(HitTestPath({26, 246}, W, H), -1); // 6, 6: 72 > 64
    // Wheel zoom stops at ten and a tenth, leaving the view exactly still.
    app.pathPoints = {{-40, 10}, {160, 90}};
    ASSERT_TRUE(FitPathViewToClient(W, H));
    for (auto [delta, limit] : {std::pair{120, 10.0}, std::pair{0, 0.1}}) { // a zero delta zooms out
        for (int i = 0; i < 80; ++i)
            ZoomPathView({50 + i, 60}, W, H, delta);
        EXPECT_DOUBLE_EQ(app.pathView.zoom, limit);
        auto view = [] { return std::tuple(app.pathView.zoom, app.pathView.panX, app.pathView.panY); };
        auto atLimit = view();
        ZoomPathView({600, 10}, W, H, delta);
        EXPECT_EQ(view(), atLimit);
    }
}
