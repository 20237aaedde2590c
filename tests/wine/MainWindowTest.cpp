// The real main window under Wine: title, outer size, and its controls in creation order.
#include "app/ControlTable.h"
#include "tests/wine/WineTestSupport.h"

TEST(MainWindow, IsCreatedWithItsTitleOuterSizeAndEveryControlInOrder) {
    HWND window = CreateTestMainWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(WindowText(window), L"KorvaMacro");
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 650);
    EXPECT_EQ(outer.bottom - outer.top, 362);

    auto table = MainControlTable();
    size_t count = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++count) {
        ASSERT_LT(count, table.size());
        EXPECT_EQ(GetDlgCtrlID(child), table[count].id) << "control " << count + 1;
    }
    EXPECT_EQ(count, table.size());
    DestroyTestMainWindow();
}
