// Undo and redo of the macro through every kind of change, the bounds of the history and the keys.
#include "macro/EventList.h"
#include "macro/MacroUndo.h"
#include "macro/Recorder.h"
#include "ui/windows/PathModel.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const std::vector<MacroEvent> MACRO = {
    {Move, 3, 4, 0, 0, 10}, {Key, 0, 0, 0, 0x41, 20}, {Move, -1, 2, 0, 0, 30}};

struct MacroState {
    std::vector<MacroEvent> events;
    std::vector<bool> ticks;
    std::vector<PathPoint> path;
};

MacroState Current() {
    std::vector<PathPoint> path = app.pathPoints;
    return {app.events, app.rowTicks, path};
}

bool operator==(const MacroState& a, const MacroState& b) {
    auto samePoints = [](const PathPoint& p, const PathPoint& q) { return p.x == q.x && p.y == q.y; };
    return a.events == b.events && a.ticks == b.ticks &&
           std::equal(a.path.begin(), a.path.end(), b.path.begin(), b.path.end(), samePoints);
}

void StartWithMacro() {
    ResetAppState();
    app.events = MACRO;
    app.eventListRows = MakeEventRows(app.events);
    app.rowTicks = {false, true, false};
    BuildPath();
}

} // namespace

TEST(UndoHistory, EachKindOfChangeUndoesAndRedoesEventsTicksAndPathTogether) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"Delete", [] { EXPECT_TRUE(RemoveTickedEvents()); }},
        {"Set",
         [] {
             MacroSnapshot before = CopyOfMacro();
             EXPECT_TRUE(WriteRowDelay(2, 999));
             KeepUndoStep(std::move(before));
         }},
        {"Apply",
         [] {
             MacroSnapshot before = CopyOfMacro();
             app.pathPoints.back().x += 50;
             EXPECT_TRUE(WritePathToEvents());
             KeepUndoStep(std::move(before));
         }},
        {"Clear, load or profile key",
         [] {
             ReplaceEvents({{Key, 0, 0, 0, 0x42, 5}});
         }},
        {"recording",
         [] {
             BeginRecording();
             RecordKeyPress(0x43);
             EndRecording();
         }},
    };
    for (const auto& [name, change] : changes) {
        SCOPED_TRACE(name);
        StartWithMacro();
        MacroState before = Current();
        change();
        MacroState after = Current();
        ASSERT_FALSE(after.events == before.events);
        EXPECT_TRUE(UndoMacroChange());
        EXPECT_TRUE(Current() == before);
        EXPECT_FALSE(UndoMacroChange());
        EXPECT_TRUE(RedoMacroChange());
        EXPECT_TRUE(Current() == after);
        EXPECT_FALSE(RedoMacroChange());
    }
}

TEST(UndoHistory, RefusedDuringRecordingAndPlaybackAndANewChangeForgetsRedo) {
    StartWithMacro();
    const std::vector<MacroEvent> other = {{Move, 9, 9, 0, 0, 0}};
    ReplaceEvents(other);
    // The old macro's path went with it: Apply cannot write it into the new macro.
    EXPECT_FALSE(WritePathToEvents());
    for (bool* busy : {&app.recording, &app.playing}) {
        *busy = true;
        EXPECT_FALSE(UndoMacroChange());
        EXPECT_EQ(app.events, other);
        *busy = false;
    }
    EXPECT_TRUE(UndoMacroChange());
    ReplaceEvents({MACRO[1]});
    EXPECT_FALSE(RedoMacroChange());
    ReplaceEvents({MACRO[1]}); // the same events again are no change
    EXPECT_TRUE(UndoMacroChange());
    EXPECT_EQ(app.events, MACRO);
}

TEST(UndoHistory, AReplacedMacroMovesIntoTheHistoryAndTheOldestStepsGoBeyondTheBounds) {
    ResetAppState();
    app.events = MACRO;
    const MacroEvent* data = app.events.data();
    ReplaceEvents({});
    EXPECT_EQ(app.undoHistory.undoSteps.back().events.data(), data);

    for (int32_t i = 1; i <= static_cast<int32_t>(UNDO_STEP_LIMIT) + 5; ++i)
        ReplaceEvents({{Move, i, 0, 0, 0, 0}});
    EXPECT_EQ(app.undoHistory.undoSteps.size(), UNDO_STEP_LIMIT);
    EXPECT_EQ(app.undoHistory.undoSteps.front().events.front().dx, 5);

    // Two macros of 60 % of the byte bound each leave room for the newer one only.
    app.undoHistory.byteLimit = 100000;
    std::vector<MacroEvent> big(app.undoHistory.byteLimit * 3 / 5 / sizeof(MacroEvent));
    ReplaceEvents(big);
    big[0].dx = 1;
    ReplaceEvents(big);
    ReplaceEvents({});
    ASSERT_EQ(app.undoHistory.undoSteps.size(), 1u);
    EXPECT_LE(app.undoHistory.bytes, app.undoHistory.byteLimit);
    EXPECT_EQ(app.undoHistory.undoSteps.front().events, big);
}

TEST(UndoHistory, CtrlZUndoesCtrlYAndCtrlShiftZRedo) {
    const struct {
        uint32_t vk;
        bool ctrl, shift, alt;
        UndoKeyAction action;
    } cases[] = {
        {'Z', true, false, false, UndoKey},    {'Z', true, true, false, RedoKey},
        {'Y', true, false, false, RedoKey},    {'Y', true, true, false, NoUndoKey},
        {'Z', false, false, false, NoUndoKey}, {'Z', true, false, true, NoUndoKey},
        {'X', true, false, false, NoUndoKey},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UndoKeyFor(c.vk, c.ctrl, c.shift, c.alt), c.action) << char(c.vk);
}
