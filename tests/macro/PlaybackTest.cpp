// The playback engine against a recording fake of the system: step splitting, the records sent,
// the waits on the clock, play modes, stops, released buttons, the path index and the start.
#include "macro/EventList.h"
#include "macro/Playback.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace {

enum CallKind { MouseCall, KeyCall, SetCursorCall, ConfineCall, FreeCall, RepaintCall, DoneCall };

struct Call {
    CallKind kind;
    MouseInputRecord mouse{};
    uint16_t vk = 0;
    ScreenPoint point{};
    double atMs = 0;
    int32_t pathIndex = -1;
};

// The fake system: a clock that only the sleeps move, and a log of every call.
struct FakeSystem {
    std::vector<Call> calls;
    double nowMs = 0;
    double sleepMs = 1.0;
    int sleeps = 0;
    ScreenPoint cursor{100, 200};
    std::function<void()> onSleep;
};
FakeSystem fake;

void Log(Call call) {
    call.atMs = fake.nowMs;
    fake.calls.push_back(call);
}

const PlaybackIo FAKE_IO = {
    [](const MouseInputRecord& record) {
        Log({MouseCall, record});
    },
    [](uint16_t vk) {
        Log({KeyCall, {}, vk});
    },
    [] { return fake.cursor; },
    [](ScreenPoint p) {
        fake.cursor = p;
        Log({SetCursorCall, {}, 0, p});
    },
    [](ScreenPoint p) {
        Log({ConfineCall, {}, 0, p});
    },
    [] { Log({FreeCall}); },
    [] {
        return ScreenPoint{640, 512};
    },
    [] {
        ++fake.sleeps;
        fake.nowMs += fake.sleepMs;
        if (fake.onSleep) fake.onSleep();
    },
    [] { return fake.nowMs; },
    [] {
        Log({RepaintCall, {}, 0, {}, 0, app.playbackPathIndex});
    },
    [] { Log({DoneCall}); },
};

std::vector<Call> CallsOf(CallKind kind) {
    std::vector<Call> found;
    for (const Call& call : fake.calls) {
        if (call.kind == kind) found.push_back(call);
    }
    return found;
}

MacroEvent MoveEvent(int32_t dx, int32_t dy, uint32_t delayMs = 0) {
    return {Move, dx, dy, 0, 0, delayMs};
}
MacroEvent KeyEvent(uint32_t vk, uint32_t delayMs = 0) {
    return {Key, 0, 0, 0, vk, delayMs};
}
MacroEvent ButtonEvent(int32_t type, uint32_t button, uint32_t delayMs = 0) {
    return {type, 0, 0, button, 0, delayMs};
}

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ResetAppState();
        fake = FakeSystem{};
        app.speed = 1.0;
    }
};

} // namespace

TEST_F(PlaybackTest, MovesAreSplitIntoStepsOfAtMostTwoPerAxis) {
    EXPECT_EQ(NextMoveStep(5, -3).x, 2);
    EXPECT_EQ(NextMoveStep(5, -3).y, -2);
    EXPECT_EQ(NextMoveStep(-1, 0).x, -1);
    EXPECT_EQ(NextMoveStep(INT32_MIN, INT32_MAX).x, -2);

    app.events = {MoveEvent(5, -3), MoveEvent(0, 0), MoveEvent(-1, 4)};
    PlaybackRun run;
    EXPECT_TRUE(RunPlaybackPass(FAKE_IO, run));
    std::vector<Call> sent = CallsOf(MouseCall);
    std::vector<MouseInputRecord> expected = {{2, -2, 0, MOUSE_FLAG_MOVE},
                                              {2, -1, 0, MOUSE_FLAG_MOVE},
                                              {1, 0, 0, MOUSE_FLAG_MOVE},
                                              {-1, 2, 0, MOUSE_FLAG_MOVE},
                                              {0, 2, 0, MOUSE_FLAG_MOVE}};
    ASSERT_EQ(sent.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(sent[i].mouse, expected[i]) << i;
    EXPECT_TRUE(CallsOf(SetCursorCall).empty());
    EXPECT_EQ(fake.sleeps, 0);
}

TEST_F(PlaybackTest, LockedModesCarryTheConfinedCursorFromTheStartPointEveryPass) {
    app.mouseMode = LockMouse;
    app.playbackStartPoint = {50, 60};
    app.events = {MoveEvent(5, -3)};
    PlaybackRun run;
    RunPlaybackPass(FAKE_IO, run);
    RunPlaybackPass(FAKE_IO, run); // the second pass jumps back to the start point
    std::vector<Call> confines = CallsOf(ConfineCall);
    std::vector<Call> sets = CallsOf(SetCursorCall);
    ASSERT_EQ(sets.size(), 6u);
    ASSERT_EQ(confines.size(), 6u);
    int expectedX[] = {52, 54, 55, 52, 54, 55};
    int expectedY[] = {58, 57, 57, 58, 57, 57};
    for (size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(sets[i].point.x, expectedX[i]);
        EXPECT_EQ(sets[i].point.y, expectedY[i]);
        EXPECT_EQ(confines[i].point.x, expectedX[i]);
        EXPECT_EQ(confines[i].point.y, expectedY[i]);
    }
    // Each step confines first, then moves the cursor.
    EXPECT_EQ(fake.calls[0].kind, ConfineCall);
    EXPECT_EQ(fake.calls[1].kind, SetCursorCall);
    EXPECT_TRUE(CallsOf(MouseCall).empty());

    // A path that runs past the coordinate range stops at its edge instead of wrapping.
    fake.calls.clear();
    app.playbackStartPoint = {INT32_MAX - 1, INT32_MIN + 1};
    RunPlaybackPass(FAKE_IO, run);
    EXPECT_EQ(fake.calls.back().point.x, INT32_MAX);
    EXPECT_EQ(fake.calls.back().point.y, INT32_MIN);
}

TEST_F(PlaybackTest, ButtonAndKeyRecordsFollowTheButtonTable) {
    struct Row {
        uint32_t button;
        uint32_t down, up, data;
    } rows[] = {
        {0x0001, MOUSE_FLAG_LEFTDOWN, MOUSE_FLAG_LEFTUP, 0},
        {0x0002, MOUSE_FLAG_LEFTDOWN, MOUSE_FLAG_LEFTUP, 0},
        {0x0004, MOUSE_FLAG_RIGHTDOWN, MOUSE_FLAG_RIGHTUP, 0},
        {0x0008, MOUSE_FLAG_RIGHTDOWN, MOUSE_FLAG_RIGHTUP, 0},
        {0x0010, MOUSE_FLAG_MIDDLEDOWN, MOUSE_FLAG_MIDDLEUP, 0},
        {0x0020, MOUSE_FLAG_MIDDLEDOWN, MOUSE_FLAG_MIDDLEUP, 0},
        {0x0040, MOUSE_FLAG_XDOWN, MOUSE_FLAG_XUP, 1},
        {0x0080, MOUSE_FLAG_XDOWN, MOUSE_FLAG_XUP, 1},
        {0x0100, MOUSE_FLAG_XDOWN, MOUSE_FLAG_XUP, 2},
        {0x0200, MOUSE_FLAG_XDOWN, MOUSE_FLAG_XUP, 2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(MouseButtonRecord(ButtonDown, row.button), (MouseInputRecord{0, 0, row.data, row.down}));
        EXPECT_EQ(MouseButtonRecord(ButtonUp, row.button), (MouseInputRecord{0, 0, row.data, row.up}));
    }
    EXPECT_FALSE(MouseButtonRecord(ButtonDown, 0x0003));
    EXPECT_FALSE(MouseButtonRecord(ButtonDown, 0x0400));
    EXPECT_FALSE(MouseButtonRecord(Key, 0x0001));

    // Unknown buttons and types send nothing; a key sends the low 16 bits of its code.
    app.events = {ButtonEvent(ButtonDown, 0x0003), MacroEvent{9, 1, 1, 1, 1, 0}, KeyEvent(0x1001B),
                  ButtonEvent(ButtonUp, 0x0200)};
    PlaybackRun run;
    RunPlaybackPass(FAKE_IO, run);
    ASSERT_EQ(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0].kind, KeyCall);
    EXPECT_EQ(fake.calls[0].vk, 0x1B);
    EXPECT_EQ(fake.calls[1].mouse, (MouseInputRecord{0, 0, 2, MOUSE_FLAG_XUP}));
}

TEST_F(PlaybackTest, WaitLengthsScaleTruncateAndRespectTheMoveFloor) {
    EXPECT_EQ(WaitLengthMs(1, 0.6), 1u);
    EXPECT_FALSE(EventWaits(MoveEvent(1, 1, 4)));
    EXPECT_TRUE(EventWaits(MoveEvent(1, 1, 5)));
    EXPECT_EQ(WaitLengthMs(10, 0.6), 6u);
    EXPECT_EQ(WaitLengthMs(19, 0.05), 1u);
    EXPECT_EQ(WaitLengthMs(4294967295u, 5.0), 21474836475u);
    EXPECT_FALSE(EventWaits(KeyEvent(1, 0)));
    EXPECT_TRUE(EventWaits(KeyEvent(1, 1)));

    // Played against the clock at speed 0.6.
    app.speed = 0.6;
    app.events = {ButtonEvent(ButtonDown, 1, 1), MoveEvent(1, 0, 4), MoveEvent(1, 0, 10)};
    PlaybackRun run;
    RunPlaybackPass(FAKE_IO, run);
    std::vector<Call> sent = CallsOf(MouseCall);
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_DOUBLE_EQ(sent[0].atMs, 1.0);
    EXPECT_DOUBLE_EQ(sent[1].atMs, 1.0);
    EXPECT_DOUBLE_EQ(sent[2].atMs, 7.0);
}

TEST_F(PlaybackTest, SleepsThatOversleepDoNotAddUpOverAMacro) {
    // Each 1 ms sleep lasts 1.5 ms: counting sleeps would make ten 10 ms waits last 150 ms, and
    // measuring each wait on its own 105 ms.
    fake.sleepMs = 1.5;
    for (int i = 0; i < 10; ++i)
        app.events.push_back(KeyEvent(0x41, 10));
    PlaybackRun run;
    RunPlaybackPass(FAKE_IO, run);
    std::vector<Call> sent = CallsOf(KeyCall);
    ASSERT_EQ(sent.size(), 10u);
    for (size_t i = 0; i < sent.size(); ++i) {
        double due = 10.0 * static_cast<double>(i + 1);
        EXPECT_GE(sent[i].atMs, due) << i;
        EXPECT_LT(sent[i].atMs, due + 1.5) << i;
    }
}

TEST_F(PlaybackTest, AStallIsCaughtUpOnlyUpToTheLimit) {
    // The 3rd sleep stalls for 100 ms; the events after it keep most of their spacing.
    fake.onSleep = [] {
        if (fake.sleeps == 3) fake.nowMs += 100;
    };
    for (int i = 0; i < 4; ++i)
        app.events.push_back(KeyEvent(0x41, 10));
    PlaybackRun run;
    RunPlaybackPass(FAKE_IO, run);
    std::vector<Call> sent = CallsOf(KeyCall);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_GE(sent[0].atMs, 103.0);
    for (size_t i = 1; i < sent.size(); ++i)
        EXPECT_GE(sent[i].atMs - sent[i - 1].atMs, 10.0 - CATCH_UP_LIMIT_MS);
    EXPECT_LT(sent[3].atMs - sent[0].atMs, 30.0);
}

TEST_F(PlaybackTest, LoopSwitchedToOnceEndsAfterTheCurrentPass) {
    app.playMode = Loop;
    app.events = {KeyEvent(0x41, 5), KeyEvent(0x42, 5)};
    fake.onSleep = [] {
        if (fake.sleeps == 13) app.playMode = Once; // in the middle of the second pass
    };
    RunPlayback(FAKE_IO);
    EXPECT_EQ(CallsOf(KeyCall).size(), 4u);
    ASSERT_FALSE(fake.calls.empty());
    EXPECT_EQ(fake.calls.back().kind, DoneCall);
    EXPECT_EQ(app.playbackPathIndex.load(), -1);
}

TEST_F(PlaybackTest, AStopDuringATenSecondWaitEndsAtOnceAndSendsNothingMore) {
    app.events = {KeyEvent(0x41, 10000), KeyEvent(0x42, 0)};
    double stoppedAt = -1;
    fake.onSleep = [&stoppedAt] {
        if (fake.sleeps == 50) {
            app.stopRequested = true;
            stoppedAt = fake.nowMs;
        }
    };
    RunPlayback(FAKE_IO);
    EXPECT_TRUE(CallsOf(KeyCall).empty());
    EXPECT_EQ(fake.sleeps, 50);
    ASSERT_FALSE(fake.calls.empty());
    EXPECT_EQ(fake.calls.back().kind, DoneCall);
    EXPECT_LE(fake.calls.back().atMs - stoppedAt, 1.0);

    // The master switch and the hold-off key stop it the same way, also in Loop.
    for (int which = 0; which < 2; ++which) {
        ResetAppState();
        fake = FakeSystem{};
        app.playMode = Loop;
        app.events = {KeyEvent(0x41, 10000)};
        fake.onSleep = [which] {
            if (fake.sleeps == 5) (which == 0 ? app.masterEnabled : app.holdStateOn) = false;
        };
        RunPlayback(FAKE_IO);
        EXPECT_EQ(fake.sleeps, 5);
        EXPECT_TRUE(CallsOf(KeyCall).empty());
    }
}

TEST_F(PlaybackTest, AStoppedPlaybackReleasesTheButtonsItHolds) {
    app.playMode = Loop;
    app.events = {ButtonEvent(ButtonDown, 0x0001), ButtonEvent(ButtonDown, 0x0004),
                  ButtonEvent(ButtonUp, 0x0008), ButtonEvent(ButtonDown, 0x0100), KeyEvent(0x41, 1000)};
    fake.onSleep = [] {
        if (fake.sleeps == 10) app.stopRequested = true;
    };
    RunPlayback(FAKE_IO);
    std::vector<Call> sent = CallsOf(MouseCall);
    ASSERT_EQ(sent.size(), 6u);
    // Left and the fifth button are still down when the stop comes; right was released by the macro.
    EXPECT_EQ(sent[4].mouse, (MouseInputRecord{0, 0, 0, MOUSE_FLAG_LEFTUP}));
    EXPECT_EQ(sent[5].mouse, (MouseInputRecord{0, 0, MOUSE_DATA_XBUTTON2, MOUSE_FLAG_XUP}));

    // A macro that runs to its end is left as it is.
    ResetAppState();
    fake = FakeSystem{};
    app.events = {ButtonEvent(ButtonDown, 0x0001), KeyEvent(0x41, 3)};
    RunPlayback(FAKE_IO);
    EXPECT_EQ(CallsOf(MouseCall).size(), 1u);
}

TEST_F(PlaybackTest, MovesMarkTheirPathPointWhileTheEditorIsOpen) {
    std::vector<int32_t> table = BuildPathIndexOfEvent(4, {0, 2, 9}, 4);
    EXPECT_EQ(table, (std::vector<int32_t>{1, -1, 2, -1}));
    EXPECT_EQ(BuildPathIndexOfEvent(2, {0, 1}, 0), (std::vector<int32_t>{-1, -1}));
    EXPECT_EQ(BuildPathIndexOfEvent(2, {}, 3), (std::vector<int32_t>{-1, -1}));

    app.events = {MoveEvent(1, 0), KeyEvent(0x41), MoveEvent(0, 1), MoveEvent(1, 1)};
    app.pathMoveIndices = {0, 2, 3};
    app.pathPoints = {{0, 0}, {1, 0}, {1, 1}}; // one point short: the last Move has none
    PlaybackRun run;
    RunPlaybackPass(FAKE_IO, run);
    EXPECT_TRUE(CallsOf(RepaintCall).empty()); // no editor, no marks

    fake = FakeSystem{};
    app.pathEditorWindow = reinterpret_cast<WindowHandle>(0x1234);
    RunPlayback(FAKE_IO);
    std::vector<Call> repaints = CallsOf(RepaintCall);
    ASSERT_EQ(repaints.size(), 3u);
    EXPECT_EQ(repaints[0].pathIndex, 1);
    EXPECT_EQ(repaints[1].pathIndex, 2);
    EXPECT_EQ(repaints[2].pathIndex, -1); // the end of playback
}

TEST_F(PlaybackTest, StartIsRefusedOrConfinesTheCursorByMouseMode) {
    auto startOk = [](void*) { return true; };
    auto startFails = [](void*) { return false; };

    EXPECT_FALSE(LaunchPlayback(FAKE_IO, startOk, nullptr)); // empty macro
    app.events = {KeyEvent(0x41)};
    app.masterEnabled = false;
    EXPECT_FALSE(LaunchPlayback(FAKE_IO, startOk, nullptr));
    app.masterEnabled = true;
    app.holdStateOn = false;
    EXPECT_FALSE(LaunchPlayback(FAKE_IO, startOk, nullptr));
    app.holdStateOn = true;
    app.playing = true;
    app.stopRequested = true;
    EXPECT_FALSE(LaunchPlayback(FAKE_IO, startOk, nullptr));
    EXPECT_TRUE(fake.calls.empty());
    EXPECT_TRUE(app.stopRequested);
    app.playing = false;

    // FreeMouse starts where the cursor is and frees it.
    EXPECT_TRUE(LaunchPlayback(FAKE_IO, startOk, nullptr));
    EXPECT_TRUE(app.playing);
    EXPECT_FALSE(app.stopRequested);
    EXPECT_EQ(app.playbackStartPoint.x, 100);
    EXPECT_EQ(app.playbackStartPoint.y, 200);
    ASSERT_EQ(fake.calls.size(), 1u);
    EXPECT_EQ(fake.calls[0].kind, FreeCall);

    // CenterMouse puts the cursor at the centre and confines it there.
    app.playing = false;
    app.mouseMode = CenterMouse;
    fake.calls.clear();
    EXPECT_TRUE(LaunchPlayback(FAKE_IO, startOk, nullptr));
    EXPECT_EQ(app.playbackStartPoint.x, 640);
    EXPECT_EQ(app.playbackStartPoint.y, 512);
    ASSERT_EQ(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0].kind, SetCursorCall);
    EXPECT_EQ(fake.calls[1].kind, ConfineCall);
    EXPECT_EQ(fake.calls[1].point.x, 640);

    // A thread that cannot start leaves the cursor free and playback off.
    app.playing = false;
    app.mouseMode = LockMouse;
    fake.calls.clear();
    EXPECT_FALSE(LaunchPlayback(FAKE_IO, startFails, nullptr));
    EXPECT_FALSE(app.playing);
    ASSERT_EQ(fake.calls.size(), 2u);
    EXPECT_EQ(fake.calls[0].kind, ConfineCall);
    EXPECT_EQ(fake.calls[1].kind, FreeCall);
}

TEST_F(PlaybackTest, APassFollowsAMacroThatShrinksOrGrowsWhileItPlays) {
    // An event is copied before its wait, so the one being waited for is still sent.
    app.events = {KeyEvent(1, 2), KeyEvent(2, 2), KeyEvent(3, 2), KeyEvent(4, 2)};
    fake.onSleep = [] {
        if (fake.sleeps == 3) ReplaceEvents({KeyEvent(7, 2), KeyEvent(8, 2), KeyEvent(9, 2)});
        if (fake.sleeps == 5)
            ReplaceEvents({KeyEvent(7, 2), KeyEvent(8, 2), KeyEvent(9, 2), KeyEvent(10, 2), KeyEvent(11, 2)});
        if (fake.sleeps == 9) ReplaceEvents({KeyEvent(7, 2)});
    };
    PlaybackRun run;
    EXPECT_TRUE(RunPlaybackPass(FAKE_IO, run));
    std::vector<uint16_t> sent;
    for (const Call& call : CallsOf(KeyCall))
        sent.push_back(call.vk);
    EXPECT_EQ(sent, (std::vector<uint16_t>{1, 2, 9, 10, 11}));
}

namespace {

// A thread-safe system for the stress test: real clock, sleeps that only yield.
std::atomic<int> stressSends{0};
std::atomic<bool> stressDone{false};

double SteadyMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

const PlaybackIo STRESS_IO = {
    [](const MouseInputRecord&) { ++stressSends; },
    [](uint16_t) { ++stressSends; },
    [] { return ScreenPoint{}; },
    [](ScreenPoint) { ++stressSends; },
    [](ScreenPoint) {},
    [] {},
    [] { return ScreenPoint{}; },
    [] { std::this_thread::yield(); },
    SteadyMs,
    [] {},
    [] { stressDone = true; },
};

} // namespace

TEST_F(PlaybackTest, EditsAndReplacementsWhileALoopPlaysAreSafe) {
    stressSends = 0;
    stressDone = false;
    app.playMode = Loop;
    app.mouseMode = LockMouse;
    app.speed = 0.05;
    app.pathEditorWindow = reinterpret_cast<WindowHandle>(0x1234);
    std::vector<MacroEvent> macro;
    for (int i = 0; i < 40; ++i)
        macro.push_back(i % 3 ? MoveEvent(3, -2, 5) : KeyEvent(0x41, 1));
    ReplaceEvents(macro);
    app.eventListRows = MakeEventRows(app.events);
    app.rowTicks.assign(app.eventListRows.size(), false);

    std::thread player([] { RunPlayback(STRESS_IO); });
    for (int round = 0; round < 300; ++round) {
        switch (round % 4) {
        case 0:
            ReplaceEvents(std::vector<MacroEvent>(static_cast<size_t>(1 + round % 37), MoveEvent(1, 1, 5)));
            app.mouseMode = round % 8 ? LockMouse : FreeMouse;
            break;
        case 1:
            WriteRowDelay(static_cast<size_t>(round % 5), static_cast<uint32_t>(round % 7));
            break;
        case 2:
            app.rowTicks.assign(app.eventListRows.size(), false);
            if (!app.rowTicks.empty()) app.rowTicks[0] = true;
            RemoveTickedEvents();
            break;
        default: {
            std::vector<PathPoint> points(static_cast<size_t>(round % 11 + 1));
            std::vector<size_t> indices(points.size() - 1);
            for (size_t j = 0; j < indices.size(); ++j)
                indices[j] = j * 2;
            std::lock_guard lock(app.macroMutex);
            app.pathPoints.swap(points);
            app.pathMoveIndices.swap(indices);
            break;
        }
        }
        // What the list shows is rebuilt from the macro, as after every edit.
        app.eventListRows = MakeEventRows(app.events);
        app.rowTicks.assign(app.eventListRows.size(), false);
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    app.stopRequested = true;
    player.join();
    EXPECT_TRUE(stressDone);
    EXPECT_GT(stressSends.load(), 0);
}
