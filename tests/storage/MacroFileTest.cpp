// The macro file codec: the exact bytes written, the round trip, and what the reader tolerates.
#include "storage/MacroFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr char EXAMPLE_FILE[] = "KORVAMACRO_V1\r\n"
                                "PLAYMODE 1\r\n"
                                "MOUSEMODE 0\r\n"
                                "MASTER 1\r\n"
                                "DEVICEINDEX 0\r\n"
                                "OUTPUT Virtual Mouse 1\r\n"
                                "RECORD_HOTKEY 1 117\r\n"
                                "PLAY_HOTKEY 2 16\r\n"
                                "HOLD_OFF_HOTKEY 0 0\r\n"
                                "SPEED 0.6\r\n"
                                "MACRO_COUNT 3\r\n"
                                "EV 0 0 12 -3 0 0\r\n"
                                "EV 1 140 0 0 1 0\r\n"
                                "EV 3 95 0 0 0 65\r\n";

// Start values unlike anything the files below hold, so a kept value is told from a read one.
MacroFileContents DistinctStart() {
    MacroFileContents start;
    start.playMode = Hold;
    start.mouseMode = LockMouse;
    start.masterEnabled = false;
    start.deviceIndex = 4;
    start.outputName = L"left over";
    start.recordHotkey = {HotkeyKeyboard, 0x41};
    start.playHotkey = {HotkeyMouseButton, 0x10};
    start.holdOffHotkey = {HotkeyKeyboard, 0x42};
    start.speed = 1.5;
    start.macroCount = 9;
    start.events = {MacroEvent{Key, 0, 0, 0, 1, 1}};
    return start;
}

MacroFileContents Read(const std::string& bytes, bool expectLoaded = true) {
    MacroFileContents contents = DistinctStart();
    EXPECT_EQ(ReadMacroFile(bytes, contents), expectLoaded) << bytes;
    return contents;
}

std::string Magic(const std::string& rest) {
    return "KORVAMACRO_V1\r\n" + rest;
}

} // namespace

TEST(MacroFile, WritesTheExampleFileByteForByte) {
    ResetAppState();
    app.playMode = Loop;
    app.mouseMode = FreeMouse;
    app.masterEnabled = true;
    app.deviceIndex = 0;
    app.recordHotkey = {HotkeyKeyboard, 117};
    app.playHotkey = {HotkeyMouseButton, 16};
    app.holdOffHotkey = {};
    app.speed = 0.6;
    app.events = {MacroEvent{Move, 12, -3, 0, 0, 0}, MacroEvent{ButtonDown, 0, 0, 1, 0, 140},
                  MacroEvent{Key, 0, 0, 0, 65, 95}};
    EXPECT_EQ(WriteMacroFile(app, L"Virtual Mouse 1"), EXAMPLE_FILE);

    MacroFileContents contents = Read(EXAMPLE_FILE);
    EXPECT_EQ(contents.playMode, Loop);
    EXPECT_EQ(contents.mouseMode, FreeMouse);
    EXPECT_TRUE(contents.masterEnabled);
    EXPECT_EQ(contents.deviceIndex, 0);
    EXPECT_EQ(contents.outputName, L"Virtual Mouse 1");
    EXPECT_EQ(contents.recordHotkey, (HotkeyBinding{HotkeyKeyboard, 117}));
    EXPECT_EQ(contents.playHotkey, (HotkeyBinding{HotkeyMouseButton, 16}));
    EXPECT_EQ(contents.holdOffHotkey, HotkeyBinding{});
    EXPECT_EQ(contents.speed, 0.6);
    EXPECT_EQ(contents.macroCount, 3u);
    EXPECT_EQ(contents.events, app.events);
    ResetAppState();
}

TEST(MacroFile, RoundTripKeepsEventsSettingsAndNameWithSixDigitSpeed) {
    MacroFileContents written;
    written.playMode = 7; // out of range values go through unchanged
    written.mouseMode = -1;
    written.masterEnabled = false;
    written.deviceIndex = 12;
    written.outputName = L"  caf\u00e9 \tname:?  ";
    written.recordHotkey = {HotkeyMouseButton, 0x100};
    written.playHotkey = {-5, 4294967295u};
    written.holdOffHotkey = {HotkeyKeyboard, 0x20};
    written.speed = 1.0 / 3.0;
    written.events = {MacroEvent{Move, INT32_MIN, INT32_MAX, 0, 0, UINT32_MAX},
                      MacroEvent{ButtonUp, 0, 0, 2, 0, 7}, MacroEvent{42, -1, 1, 0x200, 0xFF, 0}};
    std::string bytes = WriteMacroFile(written);
    EXPECT_NE(bytes.find("SPEED 0.333333\r\n"), std::string::npos);

    MacroFileContents read = Read(bytes);
    EXPECT_EQ(read.playMode, 7);
    EXPECT_EQ(read.mouseMode, -1);
    EXPECT_FALSE(read.masterEnabled);
    EXPECT_EQ(read.deviceIndex, 12);
    EXPECT_EQ(read.outputName, written.outputName);
    EXPECT_EQ(read.recordHotkey, written.recordHotkey);
    EXPECT_EQ(read.playHotkey, written.playHotkey);
    EXPECT_EQ(read.holdOffHotkey, written.holdOffHotkey);
    EXPECT_EQ(read.speed, 0.333333);
    EXPECT_EQ(read.events, written.events);
    EXPECT_EQ(WriteMacroFile(read), bytes);

    // Speeds in their shortest general form, and back.
    for (auto [speed, text] : std::vector<std::pair<double, std::string>>{
             {1.0, "1"}, {0.6, "0.6"}, {1250000.0, "1.25e+06"}, {25.0, "25"}}) {
        MacroFileContents settings;
        settings.speed = speed;
        std::string file = WriteMacroFile(settings);
        EXPECT_NE(file.find("SPEED " + text + "\r\n"), std::string::npos) << text;
        EXPECT_EQ(Read(file).speed, speed);
    }
}

TEST(MacroFile, OutputNameAboveLatin1AndLineBreaksStayOnTheOutputLine) {
    MacroFileContents written;
    written.outputName = L"A\u20acB\nMACRO_COUNT 5\r";
    std::string bytes = WriteMacroFile(written);
    EXPECT_NE(bytes.find("OUTPUT A?B MACRO_COUNT 5 \r\nRECORD_HOTKEY"), std::string::npos) << bytes;
    MacroFileContents read = Read(bytes);
    EXPECT_EQ(read.outputName, L"A?B MACRO_COUNT 5 ");
    EXPECT_EQ(read.macroCount, 0u);

    MacroFileContents empty;
    empty.outputName.clear();
    EXPECT_NE(WriteMacroFile(empty).find("\r\nOUTPUT \r\n"), std::string::npos);
}

TEST(MacroFile, MagicLineMustBeExactButMayEndWithLfOrCrLf) {
    for (std::string bad :
         {"KORVAMACRO_V1 \r\nPLAYMODE 1\r\n", "korvamacro_v1\r\n", "\xEF\xBB\xBFKORVAMACRO_V1\r\n",
          " KORVAMACRO_V1\r\n", "KORVAMACRO_V2\r\n", "", "\r\nKORVAMACRO_V1\r\n"}) {
        MacroFileContents contents = DistinctStart();
        EXPECT_FALSE(ReadMacroFile(bad, contents)) << bad;
        EXPECT_EQ(contents.outputName, L"left over");
        EXPECT_EQ(contents.events.size(), 1u);
    }

    MacroFileContents lf = Read("KORVAMACRO_V1\nPLAYMODE 1\nOUTPUT x \nMACRO_COUNT 1\nEV 3 50 0 0 0 65\n");
    EXPECT_EQ(lf.playMode, Loop);
    EXPECT_EQ(lf.outputName, L"x ");
    EXPECT_EQ(lf.events, (std::vector<MacroEvent>{MacroEvent{Key, 0, 0, 0, 65, 50}}));
    // Without a final line end too.
    EXPECT_EQ(Read("KORVAMACRO_V1").outputName, L"");
}

TEST(MacroFile, OnlyTheMagicKeepsSettingsAndEmptiesNameAndMacro) {
    MacroFileContents contents = Read("KORVAMACRO_V1\r\n");
    MacroFileContents start = DistinctStart();
    EXPECT_EQ(contents.playMode, start.playMode);
    EXPECT_EQ(contents.mouseMode, start.mouseMode);
    EXPECT_EQ(contents.masterEnabled, start.masterEnabled);
    EXPECT_EQ(contents.deviceIndex, start.deviceIndex);
    EXPECT_EQ(contents.recordHotkey, start.recordHotkey);
    EXPECT_EQ(contents.playHotkey, start.playHotkey);
    EXPECT_EQ(contents.holdOffHotkey, start.holdOffHotkey);
    EXPECT_EQ(contents.speed, start.speed);
    EXPECT_EQ(contents.outputName, L"");
    EXPECT_EQ(contents.macroCount, 0u);
    EXPECT_TRUE(contents.events.empty());
}

TEST(MacroFile, MacroCountBoundsTheEventLinesThatAreRead) {
    std::string threeEvents = "EV 0 1 1 1 0 0\r\nEV 0 2 2 2 0 0\r\nEV 0 3 3 3 0 0\r\n";
    EXPECT_EQ(Read(Magic("MACRO_COUNT 5\r\n" + threeEvents)).events.size(), 3u);
    MacroFileContents two = Read(Magic("MACRO_COUNT 2\r\n" + threeEvents));
    ASSERT_EQ(two.events.size(), 2u);
    EXPECT_EQ(two.events[1].delayMs, 2u);

    // Empty lines neither count nor stop; another word counts and adds nothing; a header keyword
    // after MACRO_COUNT is such a word.
    MacroFileContents mixed = Read(Magic("MACRO_COUNT 3\r\n\r\nEV 0 1 0 0 0 0\r\n\n\nPLAYMODE 2\r\n"
                                         "EV 0 2 0 0 0 0\r\nEV 0 3 0 0 0 0\r\n"));
    ASSERT_EQ(mixed.events.size(), 2u);
    EXPECT_EQ(mixed.events[1].delayMs, 2u);
    EXPECT_EQ(mixed.playMode, Hold); // the start value, not the 2 of the line
    EXPECT_EQ(Read(Magic("MACRO_COUNT 2\r\nPLAYMODE 1\r\nEV 0 1 0 0 0 0\r\n")).playMode, Hold);

    // No MACRO_COUNT line, a missing or unreadable count: no events.
    EXPECT_TRUE(Read(Magic("EV 0 1 0 0 0 0\r\n")).events.empty());
    EXPECT_TRUE(Read(Magic("MACRO_COUNT\r\nEV 0 1 0 0 0 0\r\n")).events.empty());
    EXPECT_TRUE(Read(Magic("MACRO_COUNT x\r\nEV 0 1 0 0 0 0\r\n")).events.empty());
    // An absurd count reads what is there without reserving for it.
    MacroFileContents absurd = Read(Magic("MACRO_COUNT 18446744073709551615\r\nEV 3 50\r\nEV\nEV"));
    EXPECT_EQ(absurd.macroCount, UINT64_MAX);
    EXPECT_EQ(absurd.events.size(), 3u);
    EXPECT_LE(absurd.events.capacity(), 5u); // what 14 bytes can hold
}

TEST(MacroFile, EventLinesStopAtTheFirstMissingNumberAndAlwaysAddAnEvent) {
    MacroFileContents contents = Read(Magic("MACRO_COUNT 5\r\nEV 3 50\r\n  EV\t1 \t 9 -4 x 7 8\r\nEV\r\n"
                                            "EV 2 1 2 3 4 5 6 7\r\nEV 0 -1 5 5 0 0\r\n"));
    ASSERT_EQ(contents.events.size(), 5u);
    EXPECT_EQ(contents.events[0], (MacroEvent{Key, 0, 0, 0, 0, 50}));
    EXPECT_EQ(contents.events[1], (MacroEvent{ButtonDown, -4, 0, 0, 0, 9}));
    EXPECT_EQ(contents.events[2], MacroEvent{});
    EXPECT_EQ(contents.events[3], (MacroEvent{ButtonUp, 2, 3, 4, 5, 1}));
    EXPECT_EQ(contents.events[4], (MacroEvent{Move, 0, 0, 0, 0, 0})); // a negative delay is unreadable
    // "EV" must be the whole first word, in upper case.
    EXPECT_TRUE(Read(Magic("MACRO_COUNT 2\r\nev 3 50\r\nEVX 3 50\r\n")).events.empty());
}

TEST(MacroFile, HeaderKeywordsAnyOrderLaterWinsMissingNumbersKeepOrZero) {
    MacroFileContents contents =
        Read(Magic("\r\n  SPEED 25\r\nPLAYMODE 1\r\nPLAYMODE 2\r\nMOUSEMODE 1\r\n"
                   "DEVICEINDEX 7\r\nMASTER 0\r\nMASTER -3\r\nUNKNOWN 1\r\nEV 0 0 0 0 0 0\r\n"
                   "RECORD_HOTKEY 1\r\nPLAY_HOTKEY x 5\r\nHOLD_OFF_HOTKEY 2 64\r\n"
                   "playmode 0\r\nOUTPUT  one blank kept  \r\nMACRO_COUNT 0\r\n"));
    EXPECT_EQ(contents.speed, 25.0);
    EXPECT_EQ(contents.playMode, Hold);
    EXPECT_EQ(contents.mouseMode, CenterMouse);
    EXPECT_EQ(contents.deviceIndex, 7);
    EXPECT_TRUE(contents.masterEnabled);
    EXPECT_EQ(contents.recordHotkey, (HotkeyBinding{HotkeyKeyboard, 0}));
    EXPECT_FALSE(IsBound(contents.recordHotkey));
    EXPECT_EQ(contents.playHotkey, HotkeyBinding{});
    EXPECT_EQ(contents.holdOffHotkey, (HotkeyBinding{HotkeyMouseButton, 64}));
    EXPECT_EQ(contents.outputName, L" one blank kept  ");
    EXPECT_TRUE(contents.events.empty());

    // Missing or malformed numbers after a header keyword keep the start value.
    MacroFileContents kept = Read(Magic("PLAYMODE\r\nMOUSEMODE x\r\nDEVICEINDEX 99999999999\r\nMASTER\r\n"
                                        "SPEED abc\r\nSPEED inf\r\nSPEED nan\r\nOUTPUT\r\n"));
    MacroFileContents start = DistinctStart();
    EXPECT_EQ(kept.playMode, start.playMode);
    EXPECT_EQ(kept.mouseMode, start.mouseMode);
    EXPECT_EQ(kept.deviceIndex, start.deviceIndex);
    EXPECT_EQ(kept.masterEnabled, start.masterEnabled);
    EXPECT_EQ(kept.speed, start.speed);
    EXPECT_EQ(kept.outputName, L"");

    EXPECT_EQ(Read(Magic("SPEED 0\r\n")).speed, SPEED_DEFAULT);
    EXPECT_EQ(Read(Magic("SPEED -2\r\n")).speed, SPEED_DEFAULT);
    EXPECT_EQ(Read(Magic("SPEED 1e300\r\n")).speed, 1e300);
    EXPECT_EQ(Read(Magic("OUTPUT\t x\r\n")).outputName, L"\t x");
    EXPECT_EQ(Read(Magic("OUTPUT \xe9\xff\r\n")).outputName, L"\u00e9\u00ff");
}

TEST(MacroFile, FileNameFromOutputTrimsRemovesForbiddenAndFallsBackToMacro) {
    EXPECT_EQ(MacroFileNameFromOutput(L"  My:Macro? "), L"MyMacro");
    EXPECT_EQ(MacroFileNameFromOutput(L"\t a \\/:*?\"<>| b.c \t"), L"a  b.c");
    EXPECT_EQ(MacroFileNameFromOutput(L" \t "), L"Macro");
    EXPECT_EQ(MacroFileNameFromOutput(L""), L"Macro");
    EXPECT_EQ(MacroFileNameFromOutput(L" ?*: "), L"Macro");
    // Trimming comes before removal: blanks uncovered by a removed character stay.
    EXPECT_EQ(MacroFileNameFromOutput(L"? x ?"), L" x ");
    EXPECT_EQ(MacroFileNameFromOutput(L"tune.KMC"), L"tune.KMC");
}
