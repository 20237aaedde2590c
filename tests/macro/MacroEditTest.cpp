// The event list's row texts, typed delays and edits; the events and delays the recorder makes; undo and redo
// through every kind of change, the bounds of the history and the keys.
#include "ui/windows/ControlTable.h"
#include "macro/EventList.h"
#include "macro/Undo.h"
#include "macro/Recorder.h"
#include "ui/windows/PathModel.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace {

// An event from its fields, for the tables of recorded events.
MacroEvent Ev(int32_t type, int32_t dx, int32_t dy, uint32_t button, uint32_t vk, uint32_t delayMs) {
    return {type, dx, dy, button, vk, delayMs};
}

const std::vector<MacroEvent> MACRO = {
    {Move, 3, 4, 0, 0, 10}, {Key, 0, 0, 0, 0x41, 20}, {Move, -1, 2, 0, 0, 30}};

auto Current() {
    std::vector<double> path;
    for (const PathPoint& point : app.pathPoints)
        path.insert(path.end(), {point.x, point.y});
    return std::tuple(app.events, app.rowTicks, path, app.macroStartPos);
}

void StartWithMacro() {
    ResetAppState();
    app.events = MACRO;
    app.macroStartPos = ScreenPoint{-3, 4}; // where its recording started
    app.rowTicks = {false, true, false};
    BuildPath();
    app.pathPoints.back().x += 50; // dragged, not applied yet
}

} // namespace

TEST(EventList, RowTextsAndTypedDelaysGoToTheirEventsAndDeleteTakesTickedRowsOnly) {
    const std::tuple<size_t, MacroEvent, const wchar_t*> rows[] = {
        {4, {ButtonUp, 0, 0, 512, 0, 4294967295u}, L"4: Mouse up btn=512  delay=4294967295 ms"},
        {12, {Key, 0, 0, 0, 13, 7}, L"12: Key vk=0xd  delay=7 ms"},
        {2, {Key, 0, 0, 0, 0xF0053, 0}, L"2: Key vk=0x53 Ctrl+Alt+Shift+Win  delay=0 ms"},
        {5, {Key, 0, 0, 0, KEY_HELD | 0x57, 120}, L"5: Key down vk=0x57 W  delay=120 ms"},
        {6, {KeyUp, 0, 0, 0, 0xA0, 0}, L"6: Key up vk=0xa0 Shift  delay=0 ms"},
        {7, {Wheel, 0, -120, 0, 0, 3}, L"7: Wheel dy=-120  delay=3 ms"},
        {8, {Wheel, 60, 0, 0, 0, 0}, L"8: Wheel dx=60  delay=0 ms"},
        {9, {Wait, 0, 0, 0, 0, 3000}, L"9: Wait  delay=3000 ms"},
        {0,
         {ButtonDown, 812, 433, 1, MODIFIER_CTRL | AT_POSITION, 0},
         L"0: Mouse down btn=1 at 812,433 Ctrl  delay=0 ms"},
        {1, {ButtonUp, -5, 7, 2, AT_POSITION, 0}, L"1: Mouse up btn=2 at -5,7  delay=0 ms"},
        {3, {-1, 0, 0, 0, 0, 0}, L"3: Event  delay=0 ms"},
        {123456, {Move, INT32_MIN, 0, 0, 0, 1000}, L"123456: Move dx=-2147483648 dy=0  delay=1000 ms"},
    };
    for (const auto& [row, event, text] : rows)
        EXPECT_EQ(FormatEventRow(row, event,
                                 [](uint32_t vk) -> std::wstring { return vk == 0x57 ? L"W" : L"Shift"; }),
                  text);
    // Typed delays: the nearest millisecond; a refused text leaves the delay as it was.
    std::vector<uint32_t> delays;
    for (const wchar_t* text :
         {L"0.0004", L"0.0005", L" 2,25 ", L"1,5", L".5", L"7.", L"4294967.2954", L"000000000000000012"}) {
        uint32_t ms = 77;
        EXPECT_TRUE(DelayMsFromText(text, ms)) << text;
        delays.push_back(ms);
    }
    EXPECT_EQ(delays, (std::vector<uint32_t>{0, 1, 2250, 1500, 500, 7000, DELAY_MS_MAX, 12000}));
    for (const wchar_t* text : {L"", L" ", L".", L"abc", L"nan", L"inf", L"-1", L"+1", L"0x10", L"1e9",
                                L"2.25s", L"1.2.3", L"1,5.0", L"4294967.2955", L"99999999999"}) {
        uint32_t ms = 77;
        EXPECT_FALSE(DelayMsFromText(text, ms)) << text;
        EXPECT_EQ(ms, 77u) << text;
    }
    EXPECT_DOUBLE_EQ(SpeedFromText(L"nan"), 0.05);
    EXPECT_DOUBLE_EQ(SpeedFromText(L"0.01"), 0.01);
    // A file's speed has no upper bound; the box shows any finite one whole.
    EXPECT_EQ(FormatSpeed(-1e300), L"-1e+300");
    ResetAppState();
    app.events = {{Move, 1, 1, 0, 0, 7}, {Key, 0, 0, 0, 1, 8}, {Key, 0, 0, 0, 2, 9}, {Key, 0, 0, 0, 3, 10}};
    EXPECT_TRUE(WriteRowDelay(2, 1500));
    EXPECT_FALSE(WriteRowDelay(4, 5));
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
        return std::vector<size_t>{after.top, after.selected};
    };
    EXPECT_EQ(place({0, 0, 0, 1, 0, 0, 0, 1}, 10, 5), (std::vector<size_t>{4, 6}));
    EXPECT_EQ(place({0, 1, 1}, 3, 2), (std::vector<size_t>{0, 0}));
    EXPECT_EQ(place({1, 1}, 2, 1), (std::vector<size_t>{0, NO_ROW}));
}

TEST(EventList, ListAndUndoKeysActOnTheTickedOrSelectedRowsWhichMoveWholeAndPasteAfterTheSelection) {
    constexpr uint32_t UP = 0x26, DOWN = 0x28, INSERT = 0x2D, DELETE_KEY = 0x2E;
    // Each key with Ctrl, Shift and Alt (with Ctrl it is AltGr): what the list and undo do. The Win32 list
    // test presses Space, Delete, Ctrl+A, C, X, V and Alt+Up; the files scenario Ctrl+Z and Ctrl+Y.
    const std::tuple<uint32_t, bool, bool, bool, EventListKeyAction, UndoKeyAction> keys[] = {
        {INSERT, 1, 0, 0, CopyRowsKey, NoUndoKey},  {DELETE_KEY, 0, 1, 0, CutRowsKey, NoUndoKey},
        {INSERT, 0, 1, 0, PasteRowsKey, NoUndoKey}, {DOWN, 0, 0, 1, MoveRowsDownKey, NoUndoKey},
        {UP, 0, 0, 0, NoListKey, NoUndoKey},        {'V', 1, 0, 1, NoListKey, NoUndoKey},
        {'C', 1, 1, 0, NoListKey, NoUndoKey},       {'A', 0, 0, 0, NoListKey, NoUndoKey},
        {DOWN, 1, 0, 1, NoListKey, NoUndoKey},      {'Z', 1, 1, 0, NoListKey, RedoKey},
        {'Y', 1, 1, 0, NoListKey, NoUndoKey},       {'Z', 0, 0, 0, NoListKey, NoUndoKey},
        {'Z', 1, 0, 1, NoListKey, NoUndoKey}};
    for (const auto& [vk, ctrl, shift, alt, action, undo] : keys) {
        EXPECT_EQ(EventListKeyFor(vk, ctrl, shift, alt), action) << vk << ctrl << shift << alt;
        EXPECT_EQ(UndoKeyFor(vk, ctrl, shift, alt), undo) << vk << ctrl << shift << alt;
    }
    ResetAppState();
    app.events = MACRO;
    app.rowTicks = {false, false, false};
    app.selectedRow = 1;
    EXPECT_EQ(RowsToActOn(), (std::vector<size_t>{1}));
    app.rowTicks = {true, false, true};
    EXPECT_EQ(RowsToActOn(), (std::vector<size_t>{0, 2}));
    // Down: the last row stays, the first passes the unticked row; ticks and selection go along.
    size_t selected = 1;
    EXPECT_TRUE(MoveRowsOnePlace({0, 2}, true, selected));
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{MACRO[1], MACRO[0], MACRO[2]}));
    EXPECT_EQ(app.rowTicks, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(selected, 0u);
    EXPECT_FALSE(MoveRowsOnePlace({1, 2}, true, selected)); // bunched at the end
    EXPECT_TRUE(MoveRowsOnePlace({1, 2}, false, selected)); // a block moves whole
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{MACRO[0], MACRO[2], MACRO[1]}));
    EXPECT_EQ(selected, 2u);
    EXPECT_EQ(InsertEventLinesAfterRow(NO_ROW, "EV 0 5\n"), 3u); // no row selected: at the end
    EXPECT_EQ(app.events.size(), 4u);
    EXPECT_FALSE(RemoveRows({4}));
    // The repeat count box: its leading digits, nothing or 0 for until stopped.
    std::vector<uint32_t> counts;
    for (const wchar_t* text : {L"", L"0", L"12", L"7x", L"x7", L"99999999999"})
        counts.push_back(LoopCountFromText(text));
    EXPECT_EQ(counts, (std::vector<uint32_t>{0, 0, 12, 7, 0, UINT32_MAX}));
    EXPECT_EQ(LoopCountText(0) + L"|" + LoopCountText(12), L"|12");
}

TEST(Recorder, DelaysAddUpToTheRealSpanAndTheStopKeepsThePauseAndReleasesWhatIsHeld) {
    static uint64_t nowMs = 50'000;
    ResetAppState();
    app.clock = [] { return nowMs; };
    app.rowTicks = {true}; // rows, ticks and selection described the discarded macro
    app.selectedRow = 0;
    BeginRecording();
    EXPECT_TRUE(app.rowTicks.empty());
    EXPECT_EQ(app.selectedRow, NO_ROW);
    nowMs += 1000; // the first event waits from the start
    RecordMousePacket(3, -1, 0x0001, 0);
    for (int i = 0; i < 5; ++i) { // a 1000 Hz mouse: gaps under the floor are carried on to it
        nowMs += 1;
        RecordMousePacket(1, 0, 0, 0);
    }
    nowMs += 100;
    RecordMousePacket(0, 0, 0, 0); // nothing to record: its gap is carried too
    nowMs += 20;
    RecordMousePacket(-7, 2, 0x0004, 0x0008, 60, -120, ScreenPoint{-1920, 9}); // the first event carries it
    nowMs += 3;                                                                // keys have no floor
    RecordKeyPress(0x41);
    RecordKeyPress(0x41);   // its auto-repeat
    RecordKeyRelease(0x42); // a key whose press was not recorded (a hotkey)
    nowMs -= 20;            // a clock that went back
    RecordKeyRelease(0x41);
    nowMs += (uint64_t{1} << 32) + 9; // longer than a 32-bit delay holds
    RecordKeyPress(0xA0);
    nowMs += 3000;
    EndRecording();
    EXPECT_EQ(app.events, (std::vector<MacroEvent>{
                              Ev(Move, 3, -1, 0, 0, 1000), Ev(ButtonDown, 0, 0, 0x0001, 0, 0),
                              Ev(Move, 1, 0, 0, 0, 0), Ev(Move, 1, 0, 0, 0, 0), Ev(Move, 1, 0, 0, 0, 0),
                              Ev(Move, 1, 0, 0, 0, 0), Ev(Move, 1, 0, 0, 0, 5), Ev(Move, -7, 2, 0, 0, 120),
                              Ev(ButtonDown, -1920, 9, 0x0004, AT_POSITION, 0),
                              Ev(ButtonUp, -1920, 9, 0x0008, AT_POSITION, 0), Ev(Wheel, 60, -120, 0, 0, 0),
                              Ev(Key, 0, 0, 0, KEY_HELD | 0x41, 3), Ev(Key, 0, 0, 0, KEY_HELD | 0x41, 0),
                              Ev(KeyUp, 0, 0, 0, 0x41, 0), Ev(Key, 0, 0, 0, KEY_HELD | 0xA0, 0xFFFFFFFF),
                              Ev(Wait, 0, 0, 0, 0, 3000), Ev(ButtonUp, 0, 0, 0x0002, 0, 0),
                              Ev(KeyUp, 0, 0, 0, 0xA0, 0)}));
    // The click on Record that stops a recording is cut off, its time goes into the pause; an end
    // within the floor adds no Wait, and a recording of nothing stays empty.
    BeginRecording();
    nowMs += 10;
    RecordKeyPress(0x41);
    RecordKeyRelease(0x41);
    nowMs += 400;
    RecordMousePacket(0, 0, 0x0001, 0);
    nowMs += 90;
    RecordMousePacket(5, 0, 0, 0x0002);
    DropEventsFromLastPress(0x0001);
    nowMs += 10;
    EndRecording();
    EXPECT_EQ(app.events.back(), (MacroEvent{Wait, 0, 0, 0, 0, 500}));
    EXPECT_EQ(app.events.size(), 3u);
    for (bool master : {true, false}) { // a click with the master switch off records nothing
        BeginRecording();
        nowMs += 5;
        app.masterEnabled = master;
        master ? RecordKeyPress(0x41) : RecordMousePacket(5, 0, 0x0001, 0);
        EndRecording();
        EXPECT_EQ(app.events.size(), master ? 2u : 0u);
    }
}

TEST(UndoHistory, EachKindOfChangeUndoesAndRedoesEventsTicksAndPathTogether) {
    // Set, Clear, loading and recording each undo and redo in the undo scenario as well.
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"Delete", [] { RemoveTickedEvents(); }},
        {"Set", [] { EditMacroKeepingUndo([] { return WriteRowDelay(2, 999); }); }},
        {"Apply", [] { EditMacroKeepingUndo(WritePathToEvents); }},
        {"Clear, load, profile key or recording",
         [] {
             ReplaceEvents({MACRO[1]});
             app.macroStartPos = ScreenPoint{1, 1}; // a loaded file's or the recording's own
         }},
        {"Cut or the Delete key", [] { RemoveRows(RowsToActOn()); }},
        {"Paste", [] { InsertEventLinesAfterRow(0, "EV 3 1 0 0 0 66"); }},
        {"Alt+Up", [] { MoveRowsOnePlace(RowsToActOn(), false, app.selectedRow); }},
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

TEST(UndoHistory, StepsOverALoadKeepTheirNamesAndTheHistoryIsRefusedWhileBusyAndBounded) {
    StartWithMacro(); // "small" in P1, then "big" loaded by P2's key, then a delay set
    ReplaceEvents({MACRO[1]}, {true, L"small", L"P1 - small", 0});
    EditMacroKeepingUndo([] { return WriteRowDelay(0, 5); });
    MacroNames shown{false, L"big", L"P2 - big", 1};
    // Undo the delay (the names stay as they are), undo the load, redo it and undo it again.
    std::vector<std::wstring> seen;
    for (auto step : {UndoMacroChange, UndoMacroChange, RedoMacroChange, UndoMacroChange}) {
        EXPECT_TRUE(step(&shown));
        seen.push_back(std::to_wstring(shown.kept) + L" " + shown.output + L", " + shown.profileLabel +
                       L", " + std::to_wstring(shown.activeProfile));
    }
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"0 big, P2 - big, 1", L"1 small, P1 - small, 0",
                                               L"1 big, P2 - big, 1", L"1 small, P1 - small, 0"}));
    StartWithMacro();
    const std::vector<MacroEvent> other = {{Move, 9, 9, 0, 0, 0}};
    ReplaceEvents(other);
    // The old macro's path went with it: Apply cannot write it into the new macro.
    EXPECT_FALSE(WritePathToEvents());
    for (bool* busy : {&app.recording, &app.playing}) {
        *busy = true;
        EXPECT_FALSE(MacroEditable());
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
    StartWithMacro();
    const MacroEvent* data = app.events.data();
    ReplaceEvents({});
    EXPECT_EQ(app.undoHistory.undoSteps.back().events.data(), data); // moved into it, not copied
    for (int32_t i = 1; i <= static_cast<int32_t>(UNDO_STEP_LIMIT) + 5; ++i)
        ReplaceEvents({{Move, i, 0, 0, 0, 0}});
    EXPECT_EQ(app.undoHistory.undoSteps.size(), UNDO_STEP_LIMIT);
    EXPECT_EQ(app.undoHistory.undoSteps.front().events.front().dx, 5);
    // The dropped steps are freed later, outside the hook.
    EXPECT_EQ(app.undoHistory.retired.size(), 6u);
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
