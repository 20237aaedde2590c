// The playback engine against a fake of the system that logs every call: the records sent, the
// waits on the clock, stops and released buttons, the path index and edits made while it plays.
#include "macro/EventList.h"
#include "macro/Playback.h"
#include "ui/windows/PathModel.h"
#include "macro/Undo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>

namespace {

using Trace = std::vector<std::string>;

// The fake system: a clock that only the sleeps (and call costs) move, every call as a line of text.
struct FakeSystem {
    Trace calls;
    std::vector<double> callTimes;
    double nowMs = 0, sleepMs = 1.0, callCostMs = 0;
    int sleeps = 0, mouseCalls = 0;
    void (*onSleep)() = nullptr;
    size_t refuseFrom = 0, stopAtCall = SIZE_MAX; // calls counted from 1
    double acceptAtMs = 1e300;                    // when refused input is taken again
};
FakeSystem fake;

struct Fake {
    static std::string Point(ScreenPoint p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    static std::string Mouse(MouseInputRecord r) {
        return "mouse " + Point({r.dx, r.dy}) + " " + std::to_string(r.mouseData) + " " +
               std::to_string(r.flags);
    }
    // Whether Windows inserted it: nothing from the call numbered `refuseFrom` on until `acceptAtMs`.
    static bool Note(const std::string& call, double costMs = fake.callCostMs) {
        fake.calls.push_back(call);
        fake.callTimes.push_back(fake.nowMs);
        if (fake.calls.size() >= fake.stopAtCall) app.stopRequested = true;
        fake.nowMs += costMs;
        return fake.refuseFrom == 0 || fake.calls.size() < fake.refuseFrom || fake.nowMs >= fake.acceptAtMs;
    }
    // One line per record; `mouseCalls` counts the calls, and a call costs once, whatever it holds.
    static bool SendMouse(const MouseInputRecord* r, size_t count) {
        ++fake.mouseCalls;
        bool inserted = true;
        for (size_t i = 0; i < count; ++i)
            inserted = Note(Mouse(r[i]), i + 1 == count ? fake.callCostMs : 0) && inserted;
        return inserted;
    }
    // A plain tap is "key 65"; anything else lists its records, "+16" down and "-16" up.
    static bool SendKeys(const KeyInputRecord* r, size_t count) {
        std::string text = "keys";
        for (size_t i = 0; i < count; ++i)
            text += (r[i].up ? " -" : " +") + std::to_string(r[i].vk);
        bool tap = count == 2 && r[0].vk == r[1].vk && !r[0].up && r[1].up;
        return Note(tap ? "key " + std::to_string(r[0].vk) : text);
    }
    static ScreenPoint Cursor() { return {100, 200}; }
    static bool ThreadStarts(void*) { return true; }
    static void SetCursor(ScreenPoint p) { Note("set " + Point(p)); }
    static void Confine(ScreenPoint a, ScreenPoint b) { Note("confine " + Point(a) + " " + Point(b)); }
    static void Free() { Note("free"); }
    static void Sleep() {
        ++fake.sleeps;
        fake.nowMs += fake.sleepMs;
        if (fake.onSleep) fake.onSleep();
    }
    static double Now() { return fake.nowMs; }
    static void Repaint() { Note("repaint " + std::to_string(app.playbackPathIndex)); }
    static void Done() { Note("done"); }
    static ScreenPoint OnScreen(ScreenPoint p) {
        return {std::clamp(p.x, 0, 1919), std::clamp(p.y, 0, 1079)};
    }
};
const PlaybackIo FAKE_IO = {Fake::SendMouse, Fake::SendKeys, Fake::Cursor, Fake::SetCursor,
                            Fake::Confine,   Fake::Free,     Fake::Cursor, Fake::Sleep,
                            Fake::Now,       Fake::Repaint,  Fake::Done,   Fake::OnScreen};

class PlaybackTest : public ::testing::Test {
  protected:
    void SetUp() override { Load({}); }
    // A fresh run of `events` in the given modes from `start`, before an idle window unless made busy.
    static void Load(std::vector<MacroEvent> events, int32_t playMode = Once, int32_t mouseMode = FreeMouse,
                     ScreenPoint start = {}) {
        ResetAppState();
        fake = FakeSystem{};
        app.speed = 1.0;
        app.interfaceWaiting = true;
        app.events = std::move(events);
        app.playMode = playMode;
        app.mouseMode = mouseMode;
        app.playbackStartPoint = start;
    }
    static MacroEvent MoveBy(int32_t dx, int32_t dy, uint32_t ms = 0) { return {Move, dx, dy, 0, 0, ms}; }
    static MacroEvent KeyTap(uint32_t vk, uint32_t ms = 0) { return {Key, 0, 0, 0, vk, ms}; }
    // `vk` holds a button's modifiers and AT_POSITION, which places it `at` a pixel.
    static MacroEvent Button(int32_t type, uint32_t flag, uint32_t vk = 0, ScreenPoint at = {}) {
        return {type, at.x, at.y, flag, vk, 0};
    }
    // Another type of event with the fields of `event`.
    static MacroEvent As(int32_t type, MacroEvent event) {
        event.type = type;
        return event;
    }
    static std::string Step(int32_t dx, int32_t dy) { return Fake::Mouse({dx, dy, 0, MOUSE_FLAG_MOVE}); }
    static std::string Sent(uint32_t flags, uint32_t data = 0) { return Fake::Mouse({0, 0, data, flags}); }
    static Trace PlayAll() {
        RunPlayback(FAKE_IO);
        return fake.calls;
    }
    static Trace PlayOnePass() {
        PlaybackRun run;
        EXPECT_TRUE(RunPlaybackPass(FAKE_IO, run));
        return fake.calls;
    }
};

} // namespace

TEST_F(PlaybackTest, MovesStepByTwoAndButtonsAndKeysFollowTheirTables) {
    // Unknown buttons and types send nothing; a key sends the low 16 bits of its code, and unknown
    // bits above the modifiers add nothing. A held key goes down alone until its KeyUp; a wheel turn
    // keeps its delta.
    app.events = {
        MoveBy(5, -3),          MoveBy(0, 0),  Button(ButtonDown, 0x0003), As(9, MoveBy(1, 1)),
        KeyTap(0xF800001B),     MoveBy(-1, 4), KeyTap(KEY_HELD | 0x57),    As(Wheel, MoveBy(60, -120)),
        As(KeyUp, KeyTap(0x57))};
    EXPECT_EQ(PlayOnePass(),
              (Trace{Step(2, -2), Step(2, -1), Step(1, 0), "key 27", Step(-1, 2), Step(0, 2), "keys +87",
                     Sent(MOUSE_FLAG_WHEEL, uint32_t(-120)), Sent(MOUSE_FLAG_HWHEEL, 60), "keys -87"}));
    EXPECT_EQ(fake.mouseCalls, 2 + 2); // each movement's steps in one call, then the two wheels
    Load({});
    for (int slot = 0; slot < 5; ++slot) // left, right, middle, fourth, fifth: down, then up
        app.events.insert(app.events.end(), {Button(ButtonDown, BUTTON_PRESS_FLAGS[slot]),
                                             Button(ButtonUp, BUTTON_RELEASE_FLAGS[slot])});
    EXPECT_EQ(PlayOnePass(),
              (Trace{Sent(MOUSE_FLAG_LEFTDOWN), Sent(MOUSE_FLAG_LEFTUP), Sent(MOUSE_FLAG_RIGHTDOWN),
                     Sent(MOUSE_FLAG_RIGHTUP), Sent(MOUSE_FLAG_MIDDLEDOWN), Sent(MOUSE_FLAG_MIDDLEUP),
                     Sent(MOUSE_FLAG_XDOWN, 1), Sent(MOUSE_FLAG_XUP, 1), Sent(MOUSE_FLAG_XDOWN, 2),
                     Sent(MOUSE_FLAG_XUP, 2)}));
}

TEST_F(PlaybackTest, CarriedCursorModesConfineTheCursorAlongThePathAndScreenMouseClicksOnTheRecordedPixels) {
    // A movement confines the cursor to its span unless the confinement since the last wait already
    // holds it, and sets it step by step; the playback ends confined to the pixel where it ends.
    Load({MoveBy(5, -3), MoveBy(0, 0), MoveBy(-5, 3), MoveBy(-5, 3, 10)}, Once, LockMouse, {50, 60});
    EXPECT_EQ(PlayAll(), (Trace{"confine 50,57 55,60", "set 52,58", "set 54,57", "set 55,57", "set 53,59",
                                "set 51,60", "set 50,60", "confine 45,60 50,63", "set 48,62", "set 46,63",
                                "set 45,63", "confine 45,63 45,63", "repaint -1", "done"}));
    // Every pass starts from the start point again, and a loop that never waits confines once.
    Load({MoveBy(5, -3), MoveBy(-5, 3)}, Loop, LockMouse, {50, 60});
    fake.stopAtCall = 30;
    RunPlayback(FAKE_IO);
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "confine 50,57 55,60"), 1);
    EXPECT_EQ(std::count(fake.calls.begin(), fake.calls.end(), "set 52,58"), 5);
    // A path that runs past the coordinate range stops at its edge instead of wrapping.
    Load({MoveBy(5, -3)}, Once, LockMouse, {INT32_MAX - 1, INT32_MIN + 1});
    EXPECT_EQ(PlayOnePass().back(), "set 2147483647,-2147483648");
    // A mode outside the three, read from a file, plays as FreeMouse from the start on.
    Load({MoveBy(3, 0)}, Once, 7);
    ASSERT_TRUE(PreparePlayback(FAKE_IO));
    EXPECT_EQ(PlayOnePass(), (Trace{"free", Step(2, 0), Step(1, 0)}));
    // A movement that falls short of the click recorded at 340,420 (pointer acceleration), then a
    // click off every monitor. ScreenMouse starts on the nearest pixel to the recorded start and
    // clicks where recorded, or on the nearest pixel; LockMouse goes on from the cursor.
    Load({MoveBy(3, 3, 10), Button(ButtonDown, 0x0001, AT_POSITION, {340, 420}), MoveBy(2, 0),
          Button(ButtonDown, 0x0004, AT_POSITION, {2500, 7})},
         Once, ScreenMouse);
    app.macroStartPos = ScreenPoint{-50, 5000};
    ASSERT_TRUE(PreparePlayback(FAKE_IO));
    EXPECT_EQ(PlayOnePass(), (Trace{"set 0,1079", "confine 0,1079 0,1079", "confine 0,1079 3,1082",
                                    "set 2,1081", "set 3,1082", "confine 340,420 340,420", "set 340,420",
                                    Sent(MOUSE_FLAG_LEFTDOWN), "confine 340,420 342,420", "set 342,420",
                                    "confine 1919,7 1919,7", "set 1919,7", Sent(MOUSE_FLAG_RIGHTDOWN)}));
    Load(app.events, Once, LockMouse);
    ASSERT_TRUE(PreparePlayback(FAKE_IO));
    EXPECT_EQ(PlayOnePass(), (Trace{"confine 100,200 100,200", "confine 100,200 103,203", "set 102,202",
                                    "set 103,203", Sent(MOUSE_FLAG_LEFTDOWN), "confine 103,203 105,203",
                                    "set 105,203", Sent(MOUSE_FLAG_RIGHTDOWN)}));
    app.mouseMode = ScreenMouse; // without a recorded start it starts where the cursor is
    ASSERT_TRUE(PreparePlayback(FAKE_IO));
    EXPECT_EQ(fake.calls.back(), "confine 100,200 100,200");
}

TEST_F(PlaybackTest, WaitsScaleKeepTheMoveFloorAndTheirScheduleThroughOversleepStallsAndALateStart) {
    EXPECT_EQ(WaitLengthMs(4294967295u, 5.0), 21474836475u);
    EXPECT_EQ(WaitLengthMs(10, 1e300), UINT64_MAX); // a file's speed has no upper bound
    EXPECT_EQ(WaitLengthMs(10, -1.0), 1u);          // and a negative one waits its millisecond
    // At speed 0.6: a wait of at least 1 ms, 10 ms become 6, Moves under 5 ms and keys of 0 do not wait.
    app.speed = 0.6;
    app.events = {KeyTap(1, 1), MoveBy(1, 0, 4), MoveBy(1, 0, 10), KeyTap(2, 0), MoveBy(1, 0, 5)};
    ASSERT_EQ(PlayOnePass().size(), 5u);
    EXPECT_EQ(fake.callTimes, (std::vector<double>{1.0, 1.0, 7.0, 7.0, 10.0}));
    // The 2 ms wait oversleeps to 3 ms, when the next 1 ms wait is already due: it still sleeps.
    Load({KeyTap(1, 2), KeyTap(2, 1)});
    fake.sleepMs = 1.5;
    PlayOnePass();
    EXPECT_EQ(fake.callTimes, (std::vector<double>{3.0, 4.5}));
    // Waits that the speed makes shorter than a millisecond keep their exact length (40 of 0.45 ms
    // take 18 ms, not 40); when each injection call takes 1.5 ms, the moves that fell due meanwhile
    // share the next call.
    Load(std::vector(40, MoveBy(1, 0, 9)));
    app.speed = 0.05;
    fake.callCostMs = 1.5;
    PlayOnePass();
    EXPECT_EQ(fake.calls.size(), 40u);
    EXPECT_NEAR(fake.nowMs, 19.0, 1.0); // the 18 ms and a call or two; one at a time would take 60 ms
    // Keys 10 ms apart, each 1 ms sleep lasting 1.5 ms: every key comes at the first sleep end past
    // its due time (counting sleeps would make it 150 ms for ten, timing each wait on its own 105 ms).
    Load(std::vector(10, KeyTap(0x41, 10)));
    fake.sleepMs = 1.5;
    PlayOnePass();
    EXPECT_EQ(fake.callTimes, (std::vector<double>{10.5, 21, 30, 40.5, 51, 60, 70.5, 81, 90, 100.5}));
    // The 3rd sleep stalls for 100 ms: the next wait gives up at most the catch-up limit (8 of its 10 ms).
    Load(std::vector(4, KeyTap(0x41, 10)));
    fake.onSleep = [] { fake.nowMs += fake.sleeps == 3 ? 100 : 0; };
    PlayOnePass();
    EXPECT_EQ(fake.callTimes, (std::vector<double>{103, 105, 115, 125}));
    // The playback thread wakes 3 ms after the Play press: the first wait still counts from the
    // press, the next pass of a loop from its own start.
    Load({KeyTap(0x41, 10)}, Loop);
    ASSERT_TRUE(PreparePlayback(FAKE_IO));
    fake.stopAtCall = 3;
    fake.nowMs = 3;
    EXPECT_EQ(PlayAll(), (Trace{"free", "key 65", "key 65", "repaint -1", "done"}));
    EXPECT_EQ(fake.callTimes, (std::vector<double>{0, 10, 20, 20, 20}));
}

TEST_F(PlaybackTest, ChordsHoldTheirModifiersAndAStopWithinATenSecondWaitOrAPassEndLeavesNothingHeld) {
    // Ctrl+Alt+Q; a Shift-click with Ctrl+Shift+A inside it; a Ctrl-click and the fifth button still
    // down when the hold-off key goes down 50 ms into a 10 s wait.
    Load({KeyTap(0x60051), Button(ButtonDown, 0x0001, MODIFIER_SHIFT), KeyTap(0x30041),
          Button(ButtonUp, 0x0002), Button(ButtonDown, 0x0004, MODIFIER_CTRL), Button(ButtonDown, 0x0100),
          KeyTap(0x42, 10000), KeyTap(0x43)},
         Loop);
    fake.onSleep = [] { app.holdStateOn = fake.sleeps < 50; };
    EXPECT_EQ(PlayAll(),
              (Trace{"keys +17 +18 +81 -81 -18 -17", "keys +16", Sent(MOUSE_FLAG_LEFTDOWN),
                     "keys +17 +65 -65 -17", Sent(MOUSE_FLAG_LEFTUP), "keys -16", "keys +17",
                     Sent(MOUSE_FLAG_RIGHTDOWN), Sent(MOUSE_FLAG_XDOWN, 2), Sent(MOUSE_FLAG_RIGHTUP),
                     Sent(MOUSE_FLAG_XUP, 2), "keys -17", "repaint -1", "done"}));
    EXPECT_EQ(fake.sleeps, 50); // it stopped at 50 ms and nothing waited after it
    // A Loop switched to Once in its second pass ends after that pass; each pass lets go of what it holds.
    Load({Button(ButtonDown, 0x0001), KeyTap(0x41, 5), KeyTap(0x42, 5)}, Loop);
    fake.onSleep = [] { app.playMode = fake.sleeps >= 13 ? Once : Loop; };
    EXPECT_EQ(PlayAll(), (Trace{Sent(MOUSE_FLAG_LEFTDOWN), "key 65", "key 66", Sent(MOUSE_FLAG_LEFTUP),
                                Sent(MOUSE_FLAG_LEFTDOWN), "key 65", "key 66", Sent(MOUSE_FLAG_LEFTUP),
                                "repaint -1", "done"}));
    // A pass that ends over a macro edited while it waited (its release deleted) still lets go of
    // the button, its modifier and the held key.
    Load({Button(ButtonDown, 0x0001, MODIFIER_ALT), KeyTap(KEY_HELD | 0x57), MoveBy(1, 0, 1000),
          MoveBy(1, 0, 1000), Button(ButtonUp, 0x0002)});
    fake.onSleep = [] { app.events.resize(std::min<size_t>(app.events.size(), 3)); };
    EXPECT_EQ(PlayAll(), (Trace{"keys +18", Sent(MOUSE_FLAG_LEFTDOWN), "keys +87", Step(1, 0),
                                Sent(MOUSE_FLAG_LEFTUP), "keys -87", "keys -18", "repaint -1", "done"}));
    // A Loop of three passes ends after the third; the overlay counts the passes.
    Load({KeyTap(0x41, 5)}, Loop);
    app.loopCount = 3;
    EXPECT_EQ(PlayAll(), (Trace{"key 65", "key 65", "key 65", "repaint -1", "done"}));
    EXPECT_EQ(PlayLabelText(app.playbackPass), L"PLAY 3/3");
    app.loopCount = 0;
    EXPECT_EQ(PlayLabelText(2), L"PLAY 2");
    app.playMode = Once;
    EXPECT_EQ(PlayLabelText(1), L"PLAY");
}

TEST_F(PlaybackTest, MovesMarkTheirPathPointAndEditsWhileALoopPlaysAreSafe) {
    EXPECT_EQ(BuildPathIndexOfEvent(4, {0, 2, 9}, 4), (std::vector<int32_t>{1, -1, 2, -1}));
    app.events = {MoveBy(1, 0), KeyTap(0x41), MoveBy(0, 1), MoveBy(1, 1)};
    app.pathMoveIndices = {0, 2, 3};
    app.pathPoints = {{0, 0}, {1, 0}, {1, 1}}; // one point short: the last Move has none
    EXPECT_EQ(PlayOnePass(), (Trace{Step(1, 0), "key 65", Step(0, 1), Step(1, 1)})); // no editor, no marks
    fake = FakeSystem{};
    app.pathEditorWindow = reinterpret_cast<WindowHandle>(0x1234);
    EXPECT_EQ(PlayOnePass(), (Trace{"repaint 1", Step(1, 0), "key 65", "repaint 2", Step(0, 1), Step(1, 1)}));
    EXPECT_EQ(PlayAll().end()[-2], "repaint -1"); // the end of playback clears the mark
    // Edits while a loop plays: the fake's sleeps really sleep a little, so that they meet it.
    Load(std::vector(40, MoveBy(3, -2, 5)), Loop, LockMouse);
    app.pathEditorWindow = reinterpret_cast<WindowHandle>(0x1234);
    fake.onSleep = [] { std::this_thread::sleep_for(std::chrono::microseconds(20)); };
    std::thread player([] { RunPlayback(FAKE_IO); });
    for (int round = 0; round < 300; ++round) {
        if (round % 4 == 0) {
            ReplaceEvents(std::vector<MacroEvent>(static_cast<size_t>(1 + round % 37), MoveBy(1, 1, 5)));
        } else if (round % 4 == 1) {
            WriteRowDelay(static_cast<size_t>(round % 5), static_cast<uint32_t>(round % 7));
        } else if (round % 4 == 2) {
            app.rowTicks = {true};
            RemoveTickedEvents();
        } else {
            BuildPath(); // the editor's path, read by the playing loop under the macro lock
            WritePathToEvents();
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    app.stopRequested = true;
    player.join();
    EXPECT_GT(fake.calls.size(), 2u); // more than the closing repaint and the end message
    EXPECT_EQ(fake.calls.back(), "done");
}

TEST_F(PlaybackTest, RefusedStartsTouchNothingAndRefusedInputEndsTheRunWithItsReleasesTriedUntilTaken) {
    // An empty macro, the master switch off, the hold-off key held, a recording, a playback running.
    for (auto refuse :
         {+[] { app.events.clear(); }, +[] { app.masterEnabled = false; }, +[] { app.holdStateOn = false; },
          +[] { app.recording = true; }, +[] { app.playing = true; }}) {
        Load({KeyTap(0x41)});
        app.stopRequested = true; // a refused start leaves a pending stop alone
        refuse();
        EXPECT_FALSE(LaunchPlayback(FAKE_IO, Fake::ThreadStarts, nullptr));
        EXPECT_TRUE(app.stopRequested);
        EXPECT_TRUE(fake.calls.empty());
    }
    Load({KeyTap(0x41)}, Once, LockMouse);
    EXPECT_FALSE(LaunchPlayback(
        FAKE_IO, [](void*) { return false; }, nullptr));
    EXPECT_FALSE(app.playing);
    EXPECT_EQ(fake.calls, (Trace{"confine 100,200 100,200", "free"}));
    const MacroEvent leftDown = Button(ButtonDown, 0x0001);
    const std::tuple<std::vector<MacroEvent>, Trace, Trace> cases[] = {
        // the events, the calls up to the refused one and the freed cursor, the releases Windows
        // takes at last and the end; a tap it took only in part may have left its key down
        {{leftDown, KeyTap(MODIFIER_WIN | 0x41), KeyTap(0x42)},
         {Sent(MOUSE_FLAG_LEFTDOWN), "keys +91 +65 -65 -91", "free"},
         {Sent(MOUSE_FLAG_LEFTUP), "keys -65", "keys -91", "repaint -1", "done"}},
        {{leftDown, MoveBy(5, 0)},
         {Sent(MOUSE_FLAG_LEFTDOWN), Step(2, 0), Step(2, 0), Step(1, 0), "free"},
         {Sent(MOUSE_FLAG_LEFTUP), "repaint -1", "done"}},
        // A refused press holds nothing.
        {{leftDown, Button(ButtonDown, 0x0004)},
         {Sent(MOUSE_FLAG_LEFTDOWN), Sent(MOUSE_FLAG_RIGHTDOWN), "free"},
         {Sent(MOUSE_FLAG_LEFTUP), "repaint -1", "done"}},
    };
    for (const auto& [events, expected, released] : cases) {
        Load(events, Loop);
        fake.refuseFrom = 2;
        fake.acceptAtMs = 100; // the secure desktop goes away
        RunPlayback(FAKE_IO);
        EXPECT_EQ(Trace(fake.calls.begin(), fake.calls.begin() + expected.size()), expected);
        EXPECT_EQ(Trace(fake.calls.end() - released.size(), fake.calls.end()), released);
        EXPECT_LT(fake.callTimes.end()[-2], 100 + RELEASE_RETRY_GAP_MS); // at the first try after it
        EXPECT_TRUE(app.playbackInputRefused);
    }
    // Input that stays refused is given up on after the limit.
    Load({leftDown, leftDown});
    fake.refuseFrom = 2;
    RunPlayback(FAKE_IO);
    EXPECT_NEAR(fake.nowMs, RELEASE_RETRY_LIMIT_MS, RELEASE_RETRY_GAP_MS + 1);
    // The next start clears it.
    EXPECT_TRUE(LaunchPlayback(FAKE_IO, Fake::ThreadStarts, nullptr));
    EXPECT_FALSE(app.playbackInputRefused);
}

TEST_F(PlaybackTest, InjectionRestsEachMillisecondBetweenPassesAndWhileTheWindowLagsUpToAGiveUp) {
    Load({MoveBy(1, 0), MoveBy(-1, 0)}, Loop);
    fake.stopAtCall = 6; // in the third pass
    EXPECT_EQ(PlayAll().size(), 8u);
    EXPECT_EQ(fake.sleeps, 2);
    EXPECT_EQ(fake.mouseCalls, 6); // moves without a wait are paced call by call, never gathered
    Load(std::vector(5, KeyTap(0x41)));
    fake.callCostMs = 0.4; // without a wait, the 4th key would come 1.2 ms into the burst
    PlayOnePass();
    fake.callCostMs = 1.5; // after a 5 ms wait: rests before the 4th key (4.5 ms in) and the 5th
    app.events[0].delayMs = 5;
    PlayOnePass();
    EXPECT_EQ(fake.callTimes, (std::vector<double>{0, 0.4, 0.8, 2.2, 2.6, 8.0, 9.5, 11.0, 13.5, 16.0}));
    static std::vector<double> drainTimes;
    auto play = [](int32_t mode, bool busy, void (*onSleep)()) {
        Load({MoveBy(400, 0), KeyTap('A')}, Once, mode);
        app.interfaceWaiting = !busy;
        fake.callCostMs = 0.25;
        fake.onSleep = onSleep;
        PlayOnePass();
        return fake.sleeps;
    };
    // A window that empties its queue on every third rest: no record or key goes out after it has
    // lagged for the limit, in any mouse mode.
    for (int32_t mode : {FreeMouse, LockMouse}) {
        drainTimes = {0};
        play(mode, true, [] {
            if (fake.sleeps % 3 != 0) return;
            app.interfaceQueueDrains.fetch_add(1);
            drainTimes.push_back(fake.nowMs);
        });
        EXPECT_GE(fake.calls.size(), 201u);
        for (double t : fake.callTimes)
            EXPECT_LT(t - *std::prev(std::upper_bound(drainTimes.begin(), drainTimes.end(), t)),
                      INTERFACE_LAG_LIMIT_MS);
    }
    // A window that never catches up costs one give-up wait, not one per record.
    EXPECT_EQ(play(LockMouse, true, nullptr),
              play(LockMouse, false, nullptr) + static_cast<int>(INTERFACE_GIVE_UP_MS));
}
