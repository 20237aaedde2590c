// The shared file text conventions: Latin-1, line ends, tokens and numbers.
#include "storage/Folders.h"
#include "storage/TextCodec.h"

#include <gtest/gtest.h>

#include <vector>

TEST(TextCodec, Latin1MapsOneByteAndWritesQuestionMarkAboveFF) {
    EXPECT_EQ(EncodeLatin1(L"A\u00e9\u00ff"), std::string("A\xe9\xff"));
    EXPECT_EQ(EncodeLatin1(L"x\u0100y\u20acz"), "x?y?z");
    EXPECT_EQ(DecodeLatin1("\xe9\x41"), std::wstring(L"\u00e9A"));
}

TEST(TextCodec, LinesEndAtLfOrCrLfAndKeepInnerBlanks) {
    LineCursor cursor{"one\r\n\r\ntwo  \nthree\r\nlast"};
    std::vector<std::string> lines;
    std::string_view line;
    while (NextLine(cursor, line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "", "two  ", "three", "last"}));
}

TEST(TextCodec, NumbersSkipBlanksAndTabsAndRefuseMalformedText) {
    std::string_view line = "EV \t-3 4294967295 x 7";
    size_t position = 0;
    EXPECT_EQ(FirstWord(line, position), "EV");
    int32_t signedValue = 99;
    uint32_t unsignedValue = 0;
    EXPECT_TRUE(ReadInt32(line, position, signedValue));
    EXPECT_EQ(signedValue, -3);
    EXPECT_TRUE(ReadUint32(line, position, unsignedValue));
    EXPECT_EQ(unsignedValue, 4294967295u);
    int32_t untouched = 5;
    EXPECT_FALSE(ReadInt32(line, position, untouched));
    EXPECT_EQ(untouched, 5);
    uint32_t tooBig = 1;
    size_t start = 0;
    EXPECT_FALSE(ReadUint32("4294967296", start, tooBig));
    EXPECT_EQ(tooBig, 1u);
    size_t end = 0;
    int32_t missing = 8;
    EXPECT_FALSE(ReadInt32("   ", end, missing));
    double real = 0;
    size_t at = 0;
    EXPECT_TRUE(ReadDouble(" 1.25e+06", at, real));
    EXPECT_DOUBLE_EQ(real, 1.25e6);
}

TEST(TextCodec, RealsUseSixSignificantDigitsInShortestForm) {
    EXPECT_EQ(FormatReal(0.6), "0.6");
    EXPECT_EQ(FormatReal(1.0), "1");
    EXPECT_EQ(FormatReal(1.0 / 3.0), "0.333333");
    EXPECT_EQ(FormatReal(1.25e6), "1.25e+06");
    EXPECT_EQ(RestAfterOneBlank("OUTPUT  two", 6), " two");
    EXPECT_EQ(RestAfterOneBlank("OUTPUT", 6), "");
}

TEST(Folders, PathTestsIgnoreCaseAndNamesGetOneExtension) {
    EXPECT_TRUE(HasPrefixIgnoringCase(L"c:\\korvamacro\\data\\a.kmc", MACRO_FOLDER));
    EXPECT_TRUE(HasPrefixIgnoringCase(L"C:\\KorvaMacro\\DataX\\a.kmc", MACRO_FOLDER));
    EXPECT_FALSE(HasPrefixIgnoringCase(L"C:\\KorvaMacro\\Dat", MACRO_FOLDER));
    EXPECT_EQ(MacroPathForName(L"tune.KMC"), L"C:\\KorvaMacro\\Data\\tune.KMC");
    EXPECT_EQ(MacroPathForName(L"Farm"), L"C:\\KorvaMacro\\Data\\Farm.kmc");
}
