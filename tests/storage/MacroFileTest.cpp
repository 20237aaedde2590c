// The macro file codec: the exact lines written and the reader's tolerances; ready macros: the take
// of an unchanged file's events with its header over the current settings, and the memory bound.
#include "storage/Folders.h"
#include "storage/MacroFile.h"
#include "storage/ReadyMacros.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

auto Fields(const MacroFileContents& c) {
    return std::tie(c.playMode, c.loopCount, c.mouseMode, c.masterEnabled, c.deviceIndex, c.outputName,
                    c.recordHotkey, c.playHotkey, c.holdOffHotkey, c.speed, c.macroCount, c.events,
                    c.startPos);
}

// Start values unlike anything the files below hold, so a kept value is told from a read one.
const MacroFileContents START(Hold, CenterMouse, false, 4, L"left over", HotkeyBinding{HotkeyKeyboard, 0x41},
                              HotkeyBinding{HotkeyMouseButton, 0x10}, HotkeyBinding{HotkeyKeyboard, 0x42},
                              1.5, 3, std::vector<MacroEvent>{{Key, 0, 0, 0, 1, 1}}, 0, ScreenPoint{7, 7}, 9);

MacroFileContents Read(const std::string& bytes) {
    MacroFileContents contents = START;
    EXPECT_TRUE(ReadMacroFile(bytes, contents)) << bytes;
    return contents;
}

std::string Magic(const std::string& rest) {
    return "KORVAMACRO_V1\r\n" + rest;
}

} // namespace

TEST(MacroFile, WritesEveryLineExactlyAndReadsItBack) {
    // Latin-1 stays one byte, above U+00FF is "_" as in the file name, a line break becomes a blank.
    MacroFileContents written = START;
    written.outputName = L" caf\u00e9\u00ff A\u20acB\nMACRO_COUNT 5\r";
    written.speed = 1.0 / 3.0;
    written.startPos = ScreenPoint{-1920, 5};
    written.events = {MacroEvent{Move, INT32_MIN, INT32_MAX, 0, 0, UINT32_MAX},
                      MacroEvent{ButtonDown, 0, 0, 1, 0, 140}, MacroEvent{Key, 0, 0, 0, 65, 95}};
    const std::string file =
        "KORVAMACRO_V1\r\nPLAYMODE 2\r\nLOOP_COUNT 9\r\nMOUSEMODE 1\r\nSTART_POS -1920 5\r\nMASTER 0\r\n"
        "DEVICEINDEX 4\r\n"
        "OUTPUT  caf\xe9\xff A_B MACRO_COUNT 5 \r\nRECORD_HOTKEY 1 65\r\n"
        "PLAY_HOTKEY 2 16\r\nHOLD_OFF_HOTKEY 1 66\r\nSPEED 0.333333\r\nMACRO_COUNT 3\r\n"
        "EV 0 4294967295 -2147483648 2147483647 0 0\r\nEV 1 140 0 0 1 0\r\n"
        "EV 3 95 0 0 0 65\r\n";
    EXPECT_EQ(WriteMacroFile(written), file);
    MacroFileContents read; // starts unlike every written value
    ASSERT_TRUE(ReadMacroFile(file, read));
    written.outputName = L" caf\u00e9\u00ff A_B MACRO_COUNT 5 ";
    written.speed = 0.333333;
    EXPECT_EQ(Fields(read), Fields(written));
    written.loopCount = 0; // until stopped: no line, as before there were counts
    EXPECT_EQ(WriteMacroFile(written).find("LOOP_COUNT"), std::string::npos);
}

TEST(MacroFile, FileNamesAvoidDevicesKeepOneByteCharactersAndFitAPath) {
    const std::pair<std::wstring_view, std::wstring_view> names[] = {
        {L" a?b ", L"ab"},           {L"\u041c\u0430\u043a\u0440\u043e\u5b8f", L"______"},
        {L"NUL", L"NUL_"},           {L"con.kmc", L"con_.kmc"},
        {L"Com9.txt", L"Com9_.txt"}, {L"lpt1 ", L"lpt1_"},
        {L"COM0", L"COM0"},          {L"CONSOLE", L"CONSOLE"},
        {L"nul .x", L"nul _.x"},     {L"AUX", L"AUX_"},
        {L"CONIN$", L"CONIN$_"},     {L"conout$.kmc", L"conout$_.kmc"},
    };
    for (auto [output, file] : names)
        EXPECT_EQ(MacroFileNameFromOutput(output), file) << output.size();
    std::wstring path = MacroPathForName(std::wstring(300, L'n'));
    EXPECT_EQ(path.size(), LONGEST_PATH);
    EXPECT_EQ(path.substr(path.size() - 5), L"n.kmc");
    EXPECT_EQ(MacroPathForName(std::wstring(236, L'n')).size(), LONGEST_PATH);
}

TEST(MacroFile, OnlyTheExactMagicIsReadMissingValuesKeepTheStartAndTheLaterLineWins) {
    for (std::string bad : {"KORVAMACRO_V1 \r\n", "korvamacro_v1\r\n", "\xEF\xBB\xBFKORVAMACRO_V1\r\n",
                            "KORVAMACRO_V2\r\n", "", "\r\nKORVAMACRO_V1\r\n"}) {
        MacroFileContents contents = START;
        EXPECT_FALSE(ReadMacroFile(bad, contents)) << bad;
        EXPECT_EQ(Fields(contents), Fields(START)) << bad;
    }
    // Only the magic, or header numbers missing, malformed or out of range: settings keep their start.
    MacroFileContents kept = START;
    kept.outputName.clear();
    kept.macroCount = 0;
    kept.loopCount = 0; // a file without a count loops until stopped
    kept.events.clear();
    kept.startPos.reset(); // it belongs to the file's events
    for (std::string file :
         {Magic(""), std::string("KORVAMACRO_V1"),
          Magic("PLAYMODE\r\nMOUSEMODE x\r\nSTART_POS 5\r\nDEVICEINDEX 99999999999\r\nMASTER\r\n"
                "SPEED abc\r\nSPEED inf\r\nSPEED nan\r\nOUTPUT\r\n")})
        EXPECT_EQ(Fields(Read(file)), Fields(kept)) << file;
    MacroFileContents contents = Read(
        Magic("\r\n  SPEED +25\nPLAYMODE 2\r\nPLAYMODE 1\nMOUSEMODE 3\r\nSTART_POS -8 9\r\nDEVICEINDEX "
              "7\r\nMASTER 0\r\n"
              "MASTER -3\r\nUNKNOWN 1\r\nEV 0 0 0 0 0 0\r\nRECORD_HOTKEY 1\r\nPLAY_HOTKEY x 5\r\n"
              "HOLD_OFF_HOTKEY 2 64\r\nplaymode 0\r\nOUTPUT \t\xe9\xff  \nLOOP_COUNT 12\nMACRO_COUNT 0\r\n"));
    // Only the one separating blank goes from the name.
    const MacroFileContents expected(
        Loop, ScreenMouse, true, 7, L"\t\u00e9\u00ff  ", HotkeyBinding{HotkeyKeyboard, 0}, HotkeyBinding{},
        HotkeyBinding{HotkeyMouseButton, 64}, 25.0, 0, std::vector<MacroEvent>{}, 0, ScreenPoint{-8, 9}, 12);
    EXPECT_EQ(Fields(contents), Fields(expected));
    for (const char* speed : {"SPEED 0\r\n", "SPEED -2\r\n"})
        EXPECT_EQ(Read(Magic(speed)).speed, SPEED_DEFAULT) << speed;
}

TEST(MacroFile, MacroCountBoundsTheEventLinesAndBadNumbersReadAsZero) {
    // No MACRO_COUNT line, a missing or an unreadable count: no events.
    for (std::string head : {"", "MACRO_COUNT\r\n", "MACRO_COUNT x\r\n"})
        EXPECT_TRUE(Read(Magic(head + "EV 0 1 0 0 0 0\r\n")).events.empty()) << head;
    // An absurd count reads what is there without reserving for it.
    MacroFileContents absurd = Read(Magic("MACRO_COUNT 18446744073709551615\r\nEV 3 50\r\nEV\nEV"));
    EXPECT_EQ(absurd.macroCount, UINT64_MAX);
    EXPECT_EQ(absurd.events.size(), 3u);
    EXPECT_LE(absurd.events.capacity(), 5u); // what 14 bytes can hold
    // Empty lines neither count nor stop; another word (a header keyword too) counts and adds
    // nothing; numbers are read up to the first bad one and the rest stays 0.
    MacroFileContents contents =
        Read(Magic("MACRO_COUNT 8\r\n\r\nEV 3 50\r\n\nev 3 50\r\n  EV\t1 \t 9 -4 x 7 8\r\nEVX 3 50\r\nEV\r\n"
                   "PLAYMODE 1\r\nEV 2 1 2 3 4 5 6 7\r\nEV 1 -1 5 5 0 0\r\nEV 0 3 0 0 0 0\r\n"));
    EXPECT_EQ(contents.playMode, Hold);
    EXPECT_EQ(contents.events, (std::vector<MacroEvent>{MacroEvent{Key, 0, 0, 0, 0, 50},
                                                        MacroEvent{ButtonDown, -4, 0, 0, 0, 9}, MacroEvent{},
                                                        MacroEvent{ButtonUp, 2, 3, 4, 5, 1},
                                                        MacroEvent{ButtonDown, 0, 0, 0, 0, 0}}))
        << "a negative delay is unreadable";
}

TEST(ReadyMacros, ATakeSwapsInTheEventsOfAnUnchangedFileWithItsHeaderAndAllSlotsStayWithinTheMemoryBound) {
    ResetAppState();
    std::vector<MacroEvent> events{{Key, 0, 0, 0, 65, 1}, {Move, 2, 3, 0, 0, 4}};
    ASSERT_TRUE(KeepReadyMacro(3, L"a.kmc", {10, 20},
                               "KORVAMACRO_V1\r\nPLAYMODE 2\r\nOUTPUT Farm\r\nMACRO_COUNT 2\r\n", events));
    MacroFileContents contents;
    contents.speed = 1.5;                                          // not in the header: stays
    EXPECT_FALSE(TakeReadyMacro(3, L"a.kmc", {10, 21}, contents)); // written since
    EXPECT_FALSE(TakeReadyMacro(3, L"b.kmc", {10, 20}, contents));
    EXPECT_TRUE(contents.events.empty());
    EXPECT_TRUE(TakeReadyMacro(3, L"a.kmc", {10, 20}, contents));
    EXPECT_EQ(contents.events, events);
    EXPECT_EQ(std::tuple(contents.playMode, contents.outputName, contents.speed),
              std::tuple(2, L"Farm", 1.5));
    EXPECT_FALSE(TakeReadyMacro(3, L"a.kmc", {10, 20}, contents)); // taken: the slot waits for a new copy

    std::vector<MacroEvent> big;
    big.reserve(READY_MACROS_BYTES_MAX / sizeof(MacroEvent) - 4); // reserved, never touched
    ASSERT_TRUE(KeepReadyMacro(0, L"big", {}, "", std::move(big)));
    EXPECT_FALSE(KeepReadyMacro(1, L"ten", {}, "", std::vector<MacroEvent>(10)));
    EXPECT_TRUE(app.readyMacros[1].overBudget && app.readyMacros[1].path == L"ten"); // not read again
    EXPECT_TRUE(KeepReadyMacro(1, L"one", {}, "", std::vector<MacroEvent>(1)));
    EXPECT_FALSE(KeepReadyMacro(2, L"long header", {}, std::string(READY_HEADER_BYTES_MAX + 1, 'x'), {}));
    EXPECT_TRUE(KeepReadyMacro(0, L"big again", {}, "", std::vector<MacroEvent>(10))); // replaces its own
}
