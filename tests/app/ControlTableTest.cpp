// The main window's layout table: count, order, styles and IDs as the window creates them.
#include "app/ControlTable.h"

#include <gtest/gtest.h>

#include <set>

TEST(ControlTable, HasFortyFourControlsWithUniqueIdsAndTheListedStyles) {
    auto table = MainControlTable();
    ASSERT_EQ(table.size(), 44u);
    std::set<int32_t> ids;
    for (const ControlSpec& entry : table) {
        if (entry.id) {
            EXPECT_TRUE(ids.insert(entry.id).second) << entry.id;
        }
    }
    // Numeric styles the system reports for these controls.
    EXPECT_EQ(table[0].style, 0x50000000u);  // static
    EXPECT_EQ(table[3].style, 0x50000001u);  // centred static
    EXPECT_EQ(table[6].style, 0x50000003u);  // combo
    EXPECT_EQ(table[8].style, 0x50800000u);  // plain edit
    EXPECT_EQ(table[18].style, 0x50800800u); // read-only edit
    EXPECT_EQ(table[23].style, 0x50800880u); // read-only scrolling edit
    EXPECT_EQ(table[30].style, 0x50800080u); // scrolling edit
    EXPECT_EQ(table[10].style, 0x5000000Bu); // owner-drawn button
    EXPECT_EQ(table[12].style, 0x50020009u); // first radio
    EXPECT_EQ(table[13].style, 0x50000009u); // other radio
    EXPECT_EQ(table[27].style, 0x50000000u); // eye push button
    EXPECT_EQ(table[43].style, 0x50004003u); // check box
    EXPECT_EQ(table[26].style, 0x50A00151u); // list box
    // The eye symbol U+1F441 as its UTF-16 surrogate pair.
    EXPECT_EQ(std::wstring(table[27].text), (std::wstring{wchar_t(0xD83D), wchar_t(0xDC41)}));
}

TEST(ControlTable, SpeedTextHasThreeDecimals) {
    EXPECT_EQ(FormatSpeed(0.6), L"0.600");
    EXPECT_EQ(FormatSpeed(5.0), L"5.000");
    EXPECT_EQ(FormatSpeed(0.05), L"0.050");
}
