// The event list's row texts, typed delays and edits; the gaps and chords the recorder gives the
// events; undo and redo through every kind of change, the bounds of the history and the keys.
#include "app/ControlTable.h"
#include "input/KeyboardHook.h"
#include "macro/EventList.h"
#include "macro/Undo.h"
#include "macro/Recorder.h"
#include "ui/windows/PathModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

const std::vector<MacroEvent> MACRO = {
    {Move, 3, 4, 0, 0, 10}, {Key, 0, 0, 0, 0x41, 20}, {Move, -1, 2, 0, 0, 30}};

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

TEST(EventList, RowTextsNameTheEventAndItsDelayAndTypedDelaysRoundWithinThirtyTwoBits) {
    const std::tuple<size_t, MacroEvent, const wchar_t*> rows[] = {
        {4, {ButtonUp, 0, 0, 512, 0, 4294967295u}, L"4: Mouse up btn=512  delay=4294967295 ms"},
        {12, {Key, 0, 0, 0, 13, 7}, L"12: Key vk=0xd  delay=7 ms"},
        {2, {Key, 0, 0, 0, 0xF0053, 0}, L"2: Key vk=0x53 Ctrl+Alt+Shift+Win  delay=0 ms"},
        {0, {ButtonDown, 0, 0, 1, MODIFIER_CTRL, 0}, L"0: Mouse down btn=1 Ctrl  delay=0 ms"},
        {3, {-1, 0, 0, 0, 0, 0}, L"3: Event  delay=0 ms"},
        {123456, {Move, INT32_MIN, 0, 0, 0, 1000}, L"123456: Move dx=-2147483648 dy=0  delay=1000 ms"},
    };
    for (const auto& [row, event, text] : rows)
        EXPECT_EQ(FormatEventRow(row, event), text);
    // Typed delays: the milliseconds, or -1 when the text is refused and the delay left alone.
    std::vector<int64_t> delays;
    for (const wchar_t* text : {L"0.0004",
                                L"0.0005",
                                L" 2,25 ",
                                L"1,5",
                                L".5",
                                L"7.",
                                L"4294967.2954",
                                L"000000000000000012",
                                L"",
                                L" ",
                                L".",
                                L"abc",
                                L"nan",
                                L"inf",
                                L"-1",
                                L"+1",
                                L"0x10",
                                L"1e9",
                                L"2.25s",
                                L"1.2.3",
                                L"1,5.0",
                                L"4294967.2955",
                                L"99999999999"}) {
        uint32_t ms = 77;
        delays.push_back(DelayMsFromText(text, ms) ? int64_t{ms} : ms == 77 ? -1 : -2);
    }
    EXPECT_EQ(delays,
              (std::vector<int64_t>{0,  1,  2250, 1500, 500, 7000, DELAY_MS_MAX, 12000, -1, -1, -1, -1,
                                    -1, -1, -1,   -1,   -1,  -1,   -1,           -1,    -1, -1, -1}));
    EXPECT_DOUBLE_EQ(SpeedFromText(L"nan"), 0.05);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"0.01"), 0.01);
    // A file's speed has no upper bound; the box shows any finite one whole.
    EXPECT_EQ(FormatSpeed(0.6), L"0.600");
    EXPECT_EQ(FormatSpeed(-1e300), L"-1e+300");
}

TEST(EventList, ARowDelayGoesToItsEventAndDeleteTakesTickedRowsOnly) {
    ResetAppState();
    app.events = {{Move, 1, 1, 0, 0, 7}, {Key, 0, 0, 0, 1, 8}, {Key, 0, 0, 0, 2, 9}, {Key, 0, 0, 0, 3, 10}};
    EXPECT_TRUE(WriteRowDelay(2, 1500));
    EXPECT_FALSE(WriteRowDelay(4, 5));
    EXPECT_FALSE(WriteRowDelay(NO_ROW, 5));
    EXPECT_EQ(EventRowText(2), L"2: Key vk=0x2  delay=1500 ms");
    EXPECT_EQ(EventRowText(4), L"");
    EXPECT_FALSE(RemoveTickedEvents());  // no ticks
    app.rowTicks = {false, true, false}; // rows past the ticks stay
    EXPECT_TRUE(RemoveTickedEvents());
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{
                              {Move, 1, 1, 0, 0, 7}, {Key, 0, 0, 0, 2, 1500}, {Key, 0, 0, 0, 3, 10}}));
    // Rows 3 and 7 of ten deleted, seen from row 5: the rows on screen stay, old row 8 is selected;
    // nothing after the deleted rows selects the new last row, nothing left selects none.
    auto place = [](std::vector<bool> ticks, size_t count, size_t top) {
        RowsAfterDelete after = PlaceAfterDelete(ticks, count, top);
        return std::pair(after.top, after.selected);
    };
    using Place = std::pair<size_t, size_t>;
    EXPECT_EQ(place({0, 0, 0, 1, 0, 0, 0, 1}, 10, 5), Place(4, 6));
    EXPECT_EQ(place({0, 1, 1}, 3, 2), Place(0, 0));
    EXPECT_EQ(place({1, 1}, 2, 1).second, NO_ROW);
}

TEST(Recorder, GapsCountFromThePreviousPacketOrKeyKeepTheMouseFloorAndSaturate) {
    static uint64_t nowMs = 50'000;
    ResetAppState();
    app.clock = [] { return nowMs; };
    app.rowTicks = {true}; // rows, ticks and selection described the discarded macro
    app.selectedRow = 0;
    BeginRecording();
    EXPECT_TRUE(app.rowTicks.empty());
    EXPECT_EQ(app.selectedRow, NO_ROW);
    nowMs += 4000; // the first event gets no wait, however long after Record it comes
    RecordMousePacket(3, -1, 0, 0);
    nowMs += 120;
    RecordMousePacket(-7, 2, 0x0004, 0x0008); // only the first event of a packet carries the gap
    nowMs += 4;                               // under the mouse floor
    RecordMousePacket(1, 1, 0, 0);
    nowMs += 5; // exactly the floor
    RecordMousePacket(0, 0, 0, 0x0002);
    nowMs += 100;
    RecordMousePacket(0, 0, 0, 0); // a wheel notch: nothing to record, but the gap starts again
    nowMs += 3;                    // keys have no floor
    RecordKeyPress(0x41);
    nowMs -= 20; // a clock that went back
    RecordKeyPress(0x42);
    nowMs += (uint64_t{1} << 32) + 9; // longer than a 32-bit delay holds
    RecordMousePacket(0, 0, 0x0001, 0x0002);
    std::vector<uint32_t> delays;
    for (const MacroEvent& event : app.events)
        delays.push_back(event.delayMs);
    EXPECT_EQ(delays, (std::vector<uint32_t>{0, 120, 0, 0, 0, 5, 3, 0, 0xFFFFFFFF, 0}));
}

TEST(Recorder, KeysAndClicksWithModifiersHeldBecomeOneChordThatTakesTheModifiersTaps) {
    static uint64_t nowMs = 1000;
    ResetAppState();
    app.clock = [] { return nowMs; };
    BeginRecording();
    // As the hook does it: the key is recorded, then noted as held.
    auto press = [](uint32_t vk, uint64_t gap) {
        nowMs += gap;
        RecordKeyPress(vk);
        NoteModifierKey(app, vk, true);
    };
    auto release = [](uint32_t vk) {
        NoteModifierKey(app, vk, false);
        KeepModifierTap(vk);
    };
    press(0xA0, 5); // left Shift, H, I: two chords, the first with Shift's delay added
    press(0x48, 120);
    press(0x49, 10);
    release(0xA0);
    press(0xA4, 30); // Alt alone stays a tap
    release(0xA4);
    press(0xA1, 20); // right Shift held, repeating, while the mouse moves, then a Shift-click
    press(0xA1, 500);
    nowMs += 10;
    RecordMousePacket(4, 0, 0, 0);
    nowMs += 40;
    RecordMousePacket(0, 0, 0x0001, 0);
    release(0xA1);
    nowMs += 6;
    RecordMousePacket(0, 0, 0, 0x0002);
    press(0xA2, 5); // AltGr (left Ctrl, right Alt) and Q
    press(0xA5, 1);
    press(0x51, 7);
    release(0xA5);
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{{Key, 0, 0, 0, 0x10048, 120},
                                                   {Key, 0, 0, 0, 0x10049, 10},
                                                   {Key, 0, 0, 0, 0xA4, 30},
                                                   {Move, 4, 0, 0, 0, 530},
                                                   {ButtonDown, 0, 0, 0x0001, MODIFIER_SHIFT, 40},
                                                   {ButtonUp, 0, 0, 0x0002, 0, 6},
                                                   {Key, 0, 0, 0, 0x60051, 13}}));
}

TEST(UndoHistory, EachKindOfChangeUndoesAndRedoesEventsTicksAndPathTogether) {
    // Set, Clear, loading and recording each undo and redo in the undo scenario as well.
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"Delete", [] { RemoveTickedEvents(); }},
        {"Set", [] { EditMacroKeepingUndo([] { return WriteRowDelay(2, 999); }); }},
        {"Apply", [] { EditMacroKeepingUndo(WritePathToEvents); }},
        {"Clear, load or profile key", [] { ReplaceEvents({MACRO[1]}); }},
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

TEST(UndoHistory, StepsOverALoadBringBackTheNamesThatWentWithItsEvents) {
    StartWithMacro(); // "small" in P1, then "big" loaded by P2's key, then a delay set
    ReplaceEvents({MACRO[1]}, {true, L"small", L"P1 - small", 0});
    EditMacroKeepingUndo([] { return WriteRowDelay(0, 5); });
    MacroNames shown{false, L"big", L"P2 - big", 1};
    auto names = [&] {
        return std::tuple(shown.kept, shown.output, shown.profileLabel, shown.activeProfile);
    };
    const auto big = std::tuple(true, std::wstring(L"big"), std::wstring(L"P2 - big"), 1);
    const auto small = std::tuple(true, std::wstring(L"small"), std::wstring(L"P1 - small"), 0);
    EXPECT_TRUE(UndoMacroChange(&shown)); // the delay: names as they are
    EXPECT_EQ(names(), std::tuple(false, std::wstring(L"big"), std::wstring(L"P2 - big"), 1));
    EXPECT_TRUE(UndoMacroChange(&shown));
    EXPECT_EQ(names(), small);
    EXPECT_TRUE(RedoMacroChange(&shown));
    EXPECT_EQ(names(), big);
    EXPECT_TRUE(UndoMacroChange(&shown));
    EXPECT_EQ(names(), small);
    EXPECT_EQ(app.events, MACRO);
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
    // The dropped steps are freed later, outside the hook.
    EXPECT_EQ(app.undoHistory.retired.size(), 6u);
    ReleaseRetiredSteps(app.undoHistory);
    EXPECT_TRUE(app.undoHistory.retired.empty());

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

TEST(UndoHistory, CtrlZUndoesCtrlYAndCtrlShiftZRedoAndNothingElseIsAnUndoKey) {
    EXPECT_EQ(UndoKeyFor('Z', true, false, false), UndoKey);
    EXPECT_EQ(UndoKeyFor('Z', true, true, false), RedoKey);
    EXPECT_EQ(UndoKeyFor('Y', true, false, false), RedoKey);
    EXPECT_EQ(UndoKeyFor('Y', true, true, false), NoUndoKey);
    EXPECT_EQ(UndoKeyFor('Z', false, false, false), NoUndoKey);
    EXPECT_EQ(UndoKeyFor('Z', true, false, true), NoUndoKey); // AltGr
    EXPECT_EQ(UndoKeyFor('X', true, false, false), NoUndoKey);
}
