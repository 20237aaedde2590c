// When a raw key press shows that the keyboard hook was lost.
#include "input/HookWatchdog.h"

#include <gtest/gtest.h>

TEST(HookWatchdog, LostOnlyWhenTheHookMissedTheGracePeriod) {
    EXPECT_FALSE(HookLooksLost(10'000, 10'000));
    EXPECT_FALSE(HookLooksLost(10'000 + HOOK_GRACE_MS, 10'000));
    EXPECT_TRUE(HookLooksLost(10'001 + HOOK_GRACE_MS, 10'000));
    // A stamp from the future (clock swapped by a test) never counts as lost.
    EXPECT_FALSE(HookLooksLost(5'000, 10'000));
}
