// The path model: building and smoothing, the drag falloff, and writing the path back.
#include "app/AppState.h"
#include "ui/windows/PathModel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <limits>
#include <mutex>
#include <thread>

namespace {

MacroEvent MoveBy(int32_t dx, int32_t dy, uint32_t delayMs = 0) {
    return {Move, dx, dy, 0, 0, delayMs};
}

class PathModelTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetAppState(); }
    void TearDown() override { ResetAppState(); }
};

void ExpectPoint(const PathPoint& point, double x, double y, double tolerance = 1e-9) {
    EXPECT_NEAR(point.x, x, tolerance);
    EXPECT_NEAR(point.y, y, tolerance);
}

} // namespace

TEST_F(PathModelTest, MacroWithoutMovesHasOnlyTheStartPointAndCannotBeApplied) {
    app.events = {{ButtonDown, 0, 0, 0x0001, 0, 0}, {Key, 0, 0, 0, 0x41, 7}};
    app.pathEdit.selection = {3};
    BuildPath();
    ASSERT_EQ(app.pathPoints.size(), 1u);
    ExpectPoint(app.pathPoints[0], 0, 0);
    EXPECT_TRUE(app.pathMoveIndices.empty());
    EXPECT_TRUE(app.pathEdit.selection.empty());
    std::vector<MacroEvent> before = app.events;
    EXPECT_FALSE(WritePathToEvents());
    EXPECT_EQ(app.events, before);
}

TEST_F(PathModelTest, BuildSumsOnlyMovesKeepsTheirPositionsAndLeavesDragFieldsAlone) {
    app.events = {MoveBy(5, -2), {Key, 0, 0, 0, 0x41, 3}, {ButtonDown, 0, 0, 1, 0, 0}, MoveBy(-1, 4, 9)};
    app.pathEdit.dragSlot = 0;
    app.pathEdit.dragging = true;
    app.pathEdit.falloffRadius = 7;
    BuildPath();
    ASSERT_EQ(app.pathPoints.size(), 3u);
    EXPECT_EQ(app.pathMoveIndices, (std::vector<size_t>{0, 3}));
    // One inner point: the two passes average it with the ends.
    ExpectPoint(app.pathPoints[0], 0, 0);
    ExpectPoint(app.pathPoints[2], 4, 2);
    EXPECT_EQ(app.pathEdit.dragSlot, 0);
    EXPECT_TRUE(app.pathEdit.dragging);
    EXPECT_EQ(app.pathEdit.falloffRadius, 7);

    // One Move: two points, nothing to smooth, applying writes the same movement back.
    app.events = {MoveBy(-7, 12, 40)};
    BuildPath();
    ASSERT_EQ(app.pathPoints.size(), 2u);
    ExpectPoint(app.pathPoints[1], -7, 12);
    ASSERT_TRUE(WritePathToEvents());
    EXPECT_EQ(app.events[0], MoveBy(-7, 12, 40));
}

TEST_F(PathModelTest, TwoMovesSmoothIntoTheMiddleAndApplyRoundedKeepingTheTotal) {
    app.events = {MoveBy(10, 0, 15), {Key, 0, 0, 0, 0x20, 4}, MoveBy(0, 10, 16)};
    BuildPath();
    ASSERT_EQ(app.pathPoints.size(), 3u);
    ExpectPoint(app.pathPoints[1], 50.0 / 9, 40.0 / 9);
    ExpectPoint(app.pathPoints[2], 10, 10);
    ASSERT_TRUE(WritePathToEvents());
    EXPECT_EQ(app.events[0], MoveBy(6, 4, 15));
    EXPECT_EQ(app.events[1], (MacroEvent{Key, 0, 0, 0, 0x20, 4}));
    EXPECT_EQ(app.events[2], MoveBy(4, 6, 16));
}

TEST_F(PathModelTest, EachSmoothingPassReadsOnlyThePreviousPass) {
    // x: 0, 9, 0, 9. A pass that reused its own new values would give 0, 3, 4, 9.
    app.events = {MoveBy(9, 0), MoveBy(-9, 0), MoveBy(9, 0)};
    BuildPath();
    ASSERT_EQ(app.pathPoints.size(), 4u);
    for (size_t i = 0; i < 4; ++i)
        ExpectPoint(app.pathPoints[i], 3.0 * i, 0);

    // Evenly spaced points on a line never move, however often they are smoothed.
    app.events.assign(4, MoveBy(3, 0));
    BuildPath();
    SmoothPath();
    for (size_t i = 0; i < 5; ++i)
        ExpectPoint(app.pathPoints[i], 3.0 * i, 0);
    ASSERT_TRUE(WritePathToEvents());
    for (const MacroEvent& event : app.events)
        EXPECT_EQ(event, MoveBy(3, 0));
}

TEST_F(PathModelTest, DraggingTheMiddleOfFivePointsFollowsTheFalloffAndApplies) {
    app.events.assign(4, MoveBy(10, 0));
    BuildPath();
    BeginDrag(2);
    EXPECT_EQ(app.pathEdit.selection, std::vector<size_t>{2});
    EXPECT_EQ(app.pathEdit.dragSlot, 0);
    EXPECT_TRUE(app.pathEdit.dragging);
    EXPECT_EQ(app.pathEdit.falloffRadius, 3.0);
    ASSERT_EQ(app.pathEdit.dragSnapshot.size(), 5u);

    DragTo(20, 30);
    const double expectedY[] = {10.208, 17.471, 20.625, 17.471, 10.208};
    for (size_t i = 0; i < 5; ++i)
        ExpectPoint(app.pathPoints[i], 10.0 * i, expectedY[i], 5e-4);
    ASSERT_TRUE(WritePathToEvents());
    const int32_t expectedDy[] = {7, 3, -3, -7};
    for (size_t j = 0; j < 4; ++j)
        EXPECT_EQ(app.events[j], MoveBy(10, expectedDy[j])) << j;

    // The release keeps the mark; later moves change nothing until the next grab.
    EndDrag();
    EXPECT_FALSE(app.pathEdit.dragging);
    EXPECT_TRUE(app.pathEdit.dragSnapshot.empty());
    EXPECT_EQ(app.pathEdit.selection, std::vector<size_t>{2});
    EXPECT_EQ(app.pathEdit.dragSlot, 0);
    std::vector<PathPoint> after = app.pathPoints;
    DragTo(0, -100);
    for (size_t i = 0; i < 5; ++i)
        ExpectPoint(app.pathPoints[i], after[i].x, after[i].y, 0);
}

TEST_F(PathModelTest, EveryStepStartsAgainFromTheSnapshot) {
    app.events = {MoveBy(4, 1), MoveBy(-2, 6), MoveBy(7, -3), MoveBy(1, 1), MoveBy(5, 5), MoveBy(-8, 2)};
    BuildPath();
    BeginDrag(3);
    std::vector<PathPoint> snapshot = app.pathEdit.dragSnapshot;
    DragTo(40, -25);
    std::vector<PathPoint> direct = app.pathPoints;
    DragTo(-90, 60);
    DragTo(40, -25);
    for (size_t i = 0; i < direct.size(); ++i)
        ExpectPoint(app.pathPoints[i], direct[i].x, direct[i].y, 0);

    // A target on the grabbed point's own snapshot position only smooths the snapshot once more.
    DragTo(snapshot[3].x, snapshot[3].y);
    app.pathPoints.swap(snapshot);
    SmoothPath();
    for (size_t i = 0; i < direct.size(); ++i)
        ExpectPoint(snapshot[i], app.pathPoints[i].x, app.pathPoints[i].y, 1e-12);
}

TEST_F(PathModelTest, ReachGrowsWithThePullUpToFourTimesTheBase) {
    // Sixty points on a line: base reach 3. Seen after smoothing, a point at distance d from the
    // grabbed one moves when d is at most the largest weighted distance plus two.
    app.events.assign(59, MoveBy(1, 0));
    BuildPath();
    const size_t k = 30;
    auto moved = [&](double pull, size_t distance) {
        BeginDrag(k);
        DragTo(static_cast<double>(k), pull);
        bool result = app.pathPoints[k + distance].y != 0.0 || app.pathPoints[k - distance].y != 0.0;
        EndDrag();
        BuildPath();
        return result;
    };
    // A pull of 100 gives three times the base reach (9): weights up to distance 8.
    EXPECT_TRUE(moved(100, 10));
    EXPECT_FALSE(moved(100, 11));
    // 150 and anything beyond give four times (12): weights up to distance 11, never further.
    for (double pull : {150.0, 300.0, 5000.0}) {
        EXPECT_TRUE(moved(pull, 13)) << pull;
        EXPECT_FALSE(moved(pull, 14)) << pull;
    }
    // The outermost share: (1 - 11/12)^2 of the pull, carried two positions on by a third each pass.
    BeginDrag(k);
    DragTo(static_cast<double>(k), 300);
    EXPECT_NEAR(app.pathPoints[k + 13].y, 300.0 / (144 * 9), 1e-12);
    EXPECT_NEAR(app.pathPoints[k - 13].y, 300.0 / (144 * 9), 1e-12);
}

TEST_F(PathModelTest, BaseReachScalesWithThePointCountWithinThreeAndForty) {
    struct Case {
        size_t moves;
        double reach;
    } cases[] = {{1, 3.0}, {95, 3.0}, {96, 3.03125}, {639, 20.0}, {1279, 40.0}, {5000, 40.0}};
    for (const Case& c : cases) {
        app.events.assign(c.moves, MoveBy(1, 1));
        BuildPath();
        BeginDrag(0);
        EXPECT_DOUBLE_EQ(app.pathEdit.falloffRadius, c.reach) << c.moves;
    }
}

TEST_F(PathModelTest, DragRefusesWithoutAValidDrag) {
    app.events = {MoveBy(10, 0), MoveBy(10, 0), MoveBy(10, 0)};
    BuildPath();
    std::vector<PathPoint> built = app.pathPoints;
    auto unchanged = [&] {
        for (size_t i = 0; i < built.size(); ++i)
            if (app.pathPoints[i].x != built[i].x || app.pathPoints[i].y != built[i].y) return false;
        return true;
    };
    BeginDrag(4); // beyond the four points
    EXPECT_FALSE(app.pathEdit.dragging);
    DragTo(5, 5);
    EXPECT_TRUE(unchanged());

    BeginDrag(1);
    app.pathEdit.dragSlot = 1; // beyond the selection
    DragTo(5, 5);
    EXPECT_TRUE(unchanged());
    app.pathEdit.dragSlot = 0;
    app.pathEdit.selection = {9}; // beyond the path
    DragTo(5, 5);
    EXPECT_TRUE(unchanged());

    // The macro was rebuilt into a longer path while the drag still holds the old snapshot.
    app.pathEdit.selection = {1};
    app.events.push_back(MoveBy(1, 1));
    BuildPath();
    app.pathEdit.selection = {1};
    built = app.pathPoints;
    DragTo(5, 5);
    EXPECT_TRUE(unchanged());

    ResetEditState();
    EXPECT_EQ(app.pathEdit.dragSlot, -1);
    EXPECT_FALSE(app.pathEdit.dragging);
    EXPECT_TRUE(app.pathEdit.dragSnapshot.empty());
    EXPECT_EQ(app.pathEdit.falloffRadius, 0);
    EXPECT_EQ(app.pathEdit.selection, std::vector<size_t>{1});
}

TEST_F(PathModelTest, ApplyRoundsEachDifferenceOnItsOwnAndSkipsStaleIndices) {
    app.events = {MoveBy(0, 0), MoveBy(0, 0), MoveBy(0, 0)};
    app.pathMoveIndices = {0, 1, 2};
    app.pathPoints = {{0, 0}, {2.5, -2.5}, {2.5 + 0.4, -2.5 - 0.4}, {2.5 + 0.8, -2.5 - 0.8}};
    ASSERT_TRUE(WritePathToEvents());
    EXPECT_EQ(app.events[0], MoveBy(3, -3));
    // 0.4 twice is written as 0 twice: errors are not carried on.
    EXPECT_EQ(app.events[1], MoveBy(0, 0));
    EXPECT_EQ(app.events[2], MoveBy(0, 0));

    // A difference beyond 32 bits is held at the limit instead of wrapping.
    app.pathPoints = {{0, 0}, {1e12, -1e12}, {1e12, -1e12}, {1e12, -1e12}};
    ASSERT_TRUE(WritePathToEvents());
    EXPECT_EQ(app.events[0].dx, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(app.events[0].dy, std::numeric_limits<int32_t>::min());

    // Counts that do not match leave the macro alone.
    app.pathPoints.pop_back();
    std::vector<MacroEvent> before = app.events;
    EXPECT_FALSE(WritePathToEvents());
    EXPECT_EQ(app.events, before);
}

TEST_F(PathModelTest, ApplyAfterADeleteWritesByTheStoredIndices) {
    app.events = {MoveBy(10, 0, 1), {Key, 0, 0, 0, 0x41, 2}, MoveBy(0, 10, 3), MoveBy(10, 10, 4)};
    BuildPath();
    ASSERT_EQ(app.pathMoveIndices, (std::vector<size_t>{0, 2, 3}));
    // The first two events are deleted and a key inserted in front: stored index 0 now names a
    // Key, 2 the last Move, and 3 is beyond the end.
    app.events.erase(app.events.begin(), app.events.begin() + 2);
    app.events.insert(app.events.begin(), {Key, 0, 0, 0, 0x42, 5});
    ASSERT_TRUE(WritePathToEvents());
    EXPECT_EQ(app.events[0], (MacroEvent{Key, 0, 0, 0, 0x42, 5}));
    EXPECT_EQ(app.events[1], MoveBy(0, 10, 3));
    const PathPoint& a = app.pathPoints[1];
    const PathPoint& b = app.pathPoints[2];
    EXPECT_EQ(app.events[2].dx, static_cast<int32_t>(std::lround(b.x - a.x)));
    EXPECT_EQ(app.events[2].dy, static_cast<int32_t>(std::lround(b.y - a.y)));
    EXPECT_EQ(app.events[2].delayMs, 4u);
    EXPECT_EQ(app.events.size(), 3u);
}

TEST_F(PathModelTest, PlaybackReadsUnderTheMacroLockWhileThePathIsRebuilt) {
    app.events.assign(200, MoveBy(1, 2));
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done) {
            std::lock_guard lock(app.macroMutex);
            size_t points = app.pathPoints.size();
            size_t moves = app.pathMoveIndices.size();
            if (moves) {
                EXPECT_EQ(points, moves + 1);
                EXPECT_LT(app.pathMoveIndices.back(), app.events.size());
                EXPECT_EQ(app.events[app.pathMoveIndices.back()].type, Move);
            }
        }
    });
    for (int round = 0; round < 200; ++round) {
        BuildPath();
        BeginDrag(100);
        DragTo(100 + round, 0);
        EndDrag();
        WritePathToEvents();
    }
    done = true;
    reader.join();
}
