// Undo and redo of the macro through every kind of change, the bounds of the history and the keys.
#include "macro/EventList.h"
#include "macro/MacroUndo.h"
#include "macro/Recorder.h"
#include "ui/windows/PathModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

const std::vector<MacroEvent> MACRO = {
    {Move, 3, 4, 0, 0, 10}, {Key, 0, 0, 0, 0x41, 20}, {Move, -1, 2, 0, 0, 30}};

// Events, ticks and path, the path as x, y pairs.
auto Current() {
    std::vector<double> path;
    for (const PathPoint& point : app.pathPoints)
        path.insert(path.end(), {point.x, point.y});
    return std::tuple(app.events, app.rowTicks, path);
}

void StartWithMacro() {
    ResetAppState();
    app.events = MACRO;
    app.rowTicks = {false, true, false};
    BuildPath();
    app.pathPoints.back().x += 50; // dragged, not applied yet
}

} // namespace

TEST(UndoHistory, EachKindOfChangeUndoesAndRedoesEventsTicksAndPathTogether) {
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"Delete", [] { RemoveTickedEvents(); }},
        {"Set", [] { EditMacroKeepingUndo([] { return WriteRowDelay(2, 999); }); }},
        {"Apply", [] { EditMacroKeepingUndo(WritePathToEvents); }},
        {"Clear, load or profile key", [] { ReplaceEvents({MACRO[1]}); }},
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
        auto before = Current();
        change();
        auto after = Current();
        ASSERT_NE(std::get<0>(after), std::get<0>(before));
        EXPECT_TRUE(UndoMacroChange());
        EXPECT_EQ(Current(), before);
        EXPECT_FALSE(UndoMacroChange());
        EXPECT_TRUE(RedoMacroChange());
        EXPECT_EQ(Current(), after);
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
