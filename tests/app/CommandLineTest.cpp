// The macro path taken from the command line and the output name it gets.
#include "app/CommandLine.h"
#include "storage/Folders.h"

#include <gtest/gtest.h>

TEST(CommandLine, TheFirstArgumentIsTheMacroPathAndItsFileNameTheOutputName) {
    const std::pair<const wchar_t*, const wchar_t*> lines[] = {
        {L"", L""},
        {L"   ", L""},
        {L"\"C:\\My Macros\\Farm run.kmc\" -x", L"C:\\My Macros\\Farm run.kmc"},
        {L"  C:\\My Macros\\Farm.kmc  ", L"C:\\My Macros\\Farm.kmc"},
        {L"\"C:\\open", L"C:\\open"},
    };
    for (const auto& [line, path] : lines)
        EXPECT_EQ(PathFromCommandLine(line), path) << line;
    EXPECT_EQ(OutputNameFromPath(L"C:\\My Macros\\Farm.v2.KMC"), L"Farm.v2");
    EXPECT_EQ(OutputNameFromPath(L"D:/x/notes.txt"), L"notes.txt");
}
